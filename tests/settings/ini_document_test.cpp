#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace orvella::settings {
namespace {

// Lines inserted into one section move the sections after it; lookups and
// later insertions must follow them, and the first section of a name wins.
TEST(IniDocumentTest, SectionsAreFoundAfterInsertionsMoveThem) {
  IniDocument doc("[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n[a]\r\nk=3\r\n");
  EXPECT_EQ(doc.Get("b", "K"), "2");
  doc.Set("A", "x", "\"4\"");
  doc.Set("B", "y", "\"5\"");
  doc.Set("C", "z", "\"6\"");
  doc.Set("a", "w", "\"7\"");
  doc.Set("C", "v", "\"8\"");
  EXPECT_EQ(doc.Get("A", "k"), "1");
  EXPECT_EQ(doc.Get("B", "y"), "5");
  EXPECT_EQ(doc.Get("c", "v"), "8");
  EXPECT_EQ(doc.Serialize(),
            "[A]\r\nk=1\r\nx=\"4\"\r\nw=\"7\"\r\n\r\n[B]\r\nk=2\r\ny=\"5\"\r\n[a]\r\nk=3\r\n"
            "[C]\r\nz=\"6\"\r\nv=\"8\"\r\n");
}

}  // namespace
}  // namespace orvella::settings
