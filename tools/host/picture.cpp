#include "picture.h"

#include <cstring>

bool isFlatPicture(const std::vector<uint8_t>& rows, int width, int height, size_t rowBytes) {
  if (width <= 0 || height <= 0 || rows.size() < rowBytes * size_t(height)) return true;
  const uint8_t* first = rows.data();
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)  // the padding at the end of each row is not part of the picture
      if (std::memcmp(rows.data() + size_t(y) * rowBytes + size_t(x) * 3, first, 3) != 0) return false;
  return true;
}
