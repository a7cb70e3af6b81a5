// Guards the paths between the Windows program's dialogs, its core and the file system
// (under wine): maps, "Advance.ini" and the help file in folders and under names no
// ANSI code page holds (a Bulgarian user's profile, a program installed in a Cyrillic
// folder) are found, written and read back as the user named them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "files/utf8_path.h"
#include "tests/win32gui/window_harness.h"
#include "win32gui/win32_help_viewer.h"

namespace {

namespace fs = std::filesystem;
using files::PathFromUtf8;
using files::Utf8FromPath;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UnicodePaths : public ::testing::TestWithParam<ui::Variant> {
 protected:
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : gui.dialogs.History()) {
      if (shown.kind == "MessageBox") texts.push_back(shown.text);
    }
    return texts;
  }

  win32gui_test::HeadlessForm gui{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(BothPrograms, UnicodePaths,
                         ::testing::Values(ui::Variant::Palunor6, ui::Variant::Palunor));

TEST_P(UnicodePaths, MapsAreSavedAndOpenedUnderCyrillicAndGreekNames) {
  const fs::path folder = gui.dir.Path() / PathFromUtf8("Карти Ελένη");
  fs::create_directories(folder);
  ui::ControlSet& controls = gui.form.Controls();
  // A full path from the dialog, then a name relative to the working folder.
  gui.dialogs.AnswerFile(Utf8FromPath(folder / PathFromUtf8("карта.IJJ")));
  controls["SaveBut"].Click();
  gui.dialogs.AnswerFile("друга");
  controls["SaveBut"].Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  const std::string saved = Read(folder / PathFromUtf8("карта.IJJ"));
  EXPECT_EQ(saved.size(), 62u);
  EXPECT_EQ(saved.substr(0, 3), "SD1");
  EXPECT_EQ(Read(gui.dir.Path() / PathFromUtf8("друга.IJJ")), saved);

  std::ofstream(folder / PathFromUtf8("стара.IJJ"), std::ios::binary)
      << "SD1" << std::string(26, 'Z') << "\r\nSD2" << std::string(26, 'Z') << "\r\n";
  gui.dialogs.AnswerFile(Utf8FromPath(folder / PathFromUtf8("стара.IJJ")));
  controls["OpenBut"].Click();
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  // 'Z' is the value 30: every marker of the curve shown sits at 111 - 2 * 30.
  EXPECT_EQ(controls["Lb1"].Top(), 51);
  EXPECT_EQ(controls["Lb26"].Top(), 51);

  // Nothing else was left in the folders: no temporary file under a garbled name.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST_P(UnicodePaths, AdvanceIniIsWrittenInACyrillicWorkingFolder) {
  gui.form.FormClose();
  EXPECT_EQ(Read(gui.dir.Path() / "Advance.INI"),
            "COM PORT= COM2\r\nBAUDRATE= 9600\r\nDATABITS= 8bits\r\n");
}

TEST_P(UnicodePaths, TheHelpBesideAProgramInACyrillicFolderIsFound) {
  std::ofstream(gui.dir.Path() / "Palunor.hlp", std::ios::binary) << "<html>help</html>";
  gui.form.Controls()["Button4"].Click();
  ASSERT_EQ(gui.help.Calls().size(), 1u);
  EXPECT_EQ(PathFromUtf8(gui.help.Calls()[0].file), gui.dir.Path() / "Palunor.hlp");
  const auto page = win32gui::PrepareHelpPage(gui.help.Calls()[0].file, "",
                                              gui.dir.Path() / PathFromUtf8("страници"));
  ASSERT_TRUE(page.has_value());
  EXPECT_EQ(Read(*page), "<html>help</html>");
}

}  // namespace
