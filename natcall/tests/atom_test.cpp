// Texts printed by natcall read back as the same text, for every byte.
#include "atom.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string readBack(const std::string& text) {
  std::string line = "p(";
  natcall::appendQuoted(line, text);
  line += ")";
  natcall::Atom atom;
  natcall::SyntaxError error;
  if (!natcall::parseAtom(line, atom, error))
    return "syntax error at " + std::to_string(error.column) + ": " + error.message;
  if (atom.args.size() != 1 || atom.args[0].kind != natcall::Term::String) return "not one string";
  return atom.args[0].text;
}

TEST(Atom, QuotedTextsReadBack) {
  for (int byte = 1; byte < 256; ++byte) {
    std::string text = std::string("a") + char(byte) + "\"\\z";
    EXPECT_EQ(readBack(text), text) << "byte " << byte;
  }
  EXPECT_EQ(readBack(""), "");
}

}  // namespace
