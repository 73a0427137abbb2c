// ferrolux-fit: matched-loss coefficients for the cable catalog from datasheet points.
#include <iostream>
#include <string>
#include <vector>

#include "tools/fit/fit_tool.hpp"

int main(int argc, char** argv) {
  return ferrolux::fit::RunFitTool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
