// Guards the translation of Qt keys to the virtual-key numbers the form takes.
#include <gtest/gtest.h>

#include "gui/keys.h"

namespace {

int Vk(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return gui::VirtualKey(key, modifiers);
}

TEST(VirtualKey, ArrowsAndEditingKeysHaveTheirNumbers) {
  EXPECT_EQ(Vk(Qt::Key_Left), 37);
  EXPECT_EQ(Vk(Qt::Key_Up), 38);
  EXPECT_EQ(Vk(Qt::Key_Right), 39);
  EXPECT_EQ(Vk(Qt::Key_Down), 40);
  EXPECT_EQ(Vk(Qt::Key_Space), 32);
  EXPECT_EQ(Vk(Qt::Key_Return), 13);
  EXPECT_EQ(Vk(Qt::Key_Enter, Qt::KeypadModifier), 13);
  EXPECT_EQ(Vk(Qt::Key_Escape), 27);
  EXPECT_EQ(Vk(Qt::Key_Backspace), 8);
  EXPECT_EQ(Vk(Qt::Key_Tab), 9);
  EXPECT_EQ(Vk(Qt::Key_PageUp), 33);
  EXPECT_EQ(Vk(Qt::Key_Home), 36);
  EXPECT_EQ(Vk(Qt::Key_Delete), 46);
}

TEST(VirtualKey, LettersDigitsAndFunctionKeysFollowTheirRanges) {
  EXPECT_EQ(Vk(Qt::Key_A), 65);
  EXPECT_EQ(Vk(Qt::Key_Z), 90);
  EXPECT_EQ(Vk(Qt::Key_0), 48);
  EXPECT_EQ(Vk(Qt::Key_9), 57);
  EXPECT_EQ(Vk(Qt::Key_F1), 112);
  EXPECT_EQ(Vk(Qt::Key_F12), 123);
}

TEST(VirtualKey, ShiftedDigitsAreTheDigitKeys) {
  EXPECT_EQ(Vk(Qt::Key_Exclam, Qt::ShiftModifier), 49);
  EXPECT_EQ(Vk(Qt::Key_Asterisk, Qt::ShiftModifier), 56);
  EXPECT_EQ(Vk(Qt::Key_ParenRight, Qt::ShiftModifier), 48);
}

TEST(VirtualKey, KeypadKeysHaveTheirOwnNumbers) {
  EXPECT_EQ(Vk(Qt::Key_0, Qt::KeypadModifier), 96);
  EXPECT_EQ(Vk(Qt::Key_7, Qt::KeypadModifier), 103);
  EXPECT_EQ(Vk(Qt::Key_Asterisk, Qt::KeypadModifier), 106);
  EXPECT_EQ(Vk(Qt::Key_Plus, Qt::KeypadModifier), 107);
  EXPECT_EQ(Vk(Qt::Key_Minus, Qt::KeypadModifier), 109);
  EXPECT_EQ(Vk(Qt::Key_Slash, Qt::KeypadModifier), 111);
}

TEST(VirtualKey, PunctuationHasTheUsKeyboardsNumbers) {
  EXPECT_EQ(Vk(Qt::Key_Semicolon), 186);
  EXPECT_EQ(Vk(Qt::Key_Comma), 188);
  EXPECT_EQ(Vk(Qt::Key_Minus), 189);
  EXPECT_EQ(Vk(Qt::Key_Period), 190);
  EXPECT_EQ(Vk(Qt::Key_BracketLeft), 219);
}

TEST(VirtualKey, KeysWithoutANumberGiveZero) {
  EXPECT_EQ(Vk(Qt::Key_VolumeUp), 0);
  EXPECT_EQ(Vk(Qt::Key_unknown), 0);
}

}  // namespace
