#pragma once
// names.js, the page script's names of the core's enums and cells: each
// enum an object from its names to the numbers the module takes, each cell
// by the id the page is written with. Written at build time with the page.

#include <string>

namespace petcalc {

std::string namesModule();

}  // namespace petcalc
