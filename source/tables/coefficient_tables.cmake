# The coefficient tables: a generator built for and run on the build machine,
# writing C++ source into the build tree.
set(R4M_NATIVE_CXX g++ CACHE STRING "C++ compiler for programs the build runs on the build machine")
set(R4M_TABLE_GENERATOR ${CMAKE_BINARY_DIR}/native/generate_tables)
set(R4M_COEFFICIENT_TABLES ${CMAKE_BINARY_DIR}/generated/coefficient_tables.cpp)
add_custom_command(OUTPUT ${R4M_TABLE_GENERATOR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/native
  COMMAND ${R4M_NATIVE_CXX} -std=c++17 -O2 -ffp-contract=off -Wall -Wextra -Werror
          -o ${R4M_TABLE_GENERATOR} ${CMAKE_CURRENT_LIST_DIR}/generate_tables.cpp
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/generate_tables.cpp ${CMAKE_CURRENT_LIST_DIR}/coefficient_tables.h
  COMMENT "Building the coefficient table generator with ${R4M_NATIVE_CXX}")
add_custom_command(OUTPUT ${R4M_COEFFICIENT_TABLES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${R4M_TABLE_GENERATOR} ${R4M_COEFFICIENT_TABLES}
  DEPENDS ${R4M_TABLE_GENERATOR}
  COMMENT "Generating the coefficient tables")
