// The library's dynamic symbol table holds exactly the entry points and the
// members of CONSTANT.
#include <cxxabi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "harness.h"

namespace {

std::string demangle(const std::string& symbol) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> name(
      abi::__cxa_demangle(symbol.c_str(), nullptr, nullptr, &status), &std::free);
  return status == 0 ? std::string(name.get()) : symbol;
}

std::set<std::string> exportedSymbols() {
  std::set<std::string> names;
  std::unique_ptr<FILE, decltype(&pclose)> nm(popen("nm -D --defined-only " MATH_N_LIBRARY, "r"), &pclose);
  if (!nm) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, nm.get())) {
    std::istringstream fields(line);
    std::string address, type, symbol;
    if (fields >> address >> type >> symbol) names.insert(demangle(symbol));
  }
  return names;
}

TEST(Exports, ExactlyTheEntryPointsAndTheMembersOfConstant) {
  std::set<std::string> expected = {
      "CONSTANT::getType() const",
      "CONSTANT::isInt() const",
      "CONSTANT::isString() const",
      "CONSTANT::isSymbol() const",
      "CONSTANT::toString() const",
      "CONSTANT::toQuotedString() const",
      "CONSTANT::toSymbol() const",
      "CONSTANT::toInt() const",
      "CONSTANT::isNull() const",
      "CONSTANT::CONSTANT()",
      "CONSTANT::CONSTANT(CONSTANT const&)",
      "CONSTANT::operator=(CONSTANT const&)",
      "CONSTANT::CONSTANT(char const*, bool)",
      "CONSTANT::CONSTANT(int const&)",
      "CONSTANT::~CONSTANT()",
      "CONSTANT::operator!=(CONSTANT const&) const",
      "CONSTANT::operator==(CONSTANT const&) const",
      "CONSTANT::operator<(CONSTANT const&) const",
      "CONSTANT::operator<=(CONSTANT const&) const",
      "CONSTANT::operator>(CONSTANT const&) const",
      "CONSTANT::operator>=(CONSTANT const&) const",
  };
  for (const std::string& name : harness::entryNames()) expected.insert(name);
  ASSERT_EQ(expected.size(), 52u + 21u);
  EXPECT_EQ(exportedSymbols(), expected);
}

}  // namespace
