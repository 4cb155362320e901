#include "pval.h"

void initPVAL(PVAL& pval) {
  for (double& gain : pval.gainValue) gain = 0.0;
}
