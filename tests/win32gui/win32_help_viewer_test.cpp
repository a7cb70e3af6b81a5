// Guards how the Windows help reaches the browser: the .hlp file copied as an .html
// page, a forwarding page for a topic's anchor, and false for a help file that is
// missing or unreadable, without opening anything.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "win32gui/win32_help_viewer.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class HelpPages : public ::testing::Test {
 protected:
  HelpPages() {
    fs::create_directories(m_root);
    std::ofstream(help, std::ios::binary) << kHtml;
  }
  ~HelpPages() override { fs::remove_all(m_root); }

  static constexpr const char* kHtml =
      "<html><body><h1 id=\"Contents\">Help</h1><h2 id=\"Mainwindow\">Window</h2></body></html>";
  fs::path m_root =
      fs::temp_directory_path() / ("palunor-help-test-" + std::to_string(std::random_device{}()));
  fs::path help = m_root / "Palunor6.hlp";
  fs::path pages = m_root / "pages";
};

TEST_F(HelpPages, ContentsAreTheHelpCopiedAsAnHtmlPage) {
  const auto page = win32gui::PrepareHelpPage(help.string(), "", pages);
  ASSERT_TRUE(page);
  EXPECT_EQ(*page, pages / "help.html");
  EXPECT_EQ(Read(*page), kHtml);
}

TEST_F(HelpPages, ATopicOpensAPageThatForwardsToItsAnchor) {
  const auto page = win32gui::PrepareHelpPage(help.string(), "Mainwindow", pages);
  ASSERT_TRUE(page);
  EXPECT_EQ(*page, pages / "topic.html");
  const std::string forward = Read(*page);
  EXPECT_NE(forward.find("url=help.html#Mainwindow\""), std::string::npos) << forward;
  EXPECT_EQ(Read(pages / "help.html"), kHtml);
}

TEST_F(HelpPages, ATopicNameCannotBreakOutOfTheForwardingPage) {
  const auto page = win32gui::PrepareHelpPage(help.string(), "a\"><script>x</script> b", pages);
  ASSERT_TRUE(page);
  const std::string forward = Read(*page);
  EXPECT_NE(forward.find("help.html#a%22%3E%3Cscript%3Ex%3C%2Fscript%3E%20b"), std::string::npos)
      << forward;
  EXPECT_EQ(forward.find("<script>x"), std::string::npos);
}

TEST_F(HelpPages, AMissingHelpFileOrAFolderGivesNoPage) {
  EXPECT_FALSE(win32gui::PrepareHelpPage((m_root / "absent.hlp").string(), "", pages));
  EXPECT_FALSE(win32gui::PrepareHelpPage(m_root.string(), "Mainwindow", pages));
  EXPECT_FALSE(fs::exists(pages / "help.html"));
}

TEST_F(HelpPages, TheViewerOpensThePreparedPageAndReportsWhetherItCould) {
  win32gui::Win32HelpViewer viewer;
  std::vector<fs::path> opened;
  viewer.Open = [&opened](const fs::path& page) {
    opened.push_back(page);
    return true;
  };
  EXPECT_TRUE(viewer.ShowTopic(help.string(), "Mainwindow"));
  EXPECT_TRUE(viewer.ShowContents(help.string()));
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], win32gui::HelpPageFolder(help.string()) / "topic.html");
  EXPECT_EQ(opened[1], win32gui::HelpPageFolder(help.string()) / "help.html");
  EXPECT_EQ(win32gui::HelpPageFolder(help.string()).filename(), "Palunor6-help");

  EXPECT_FALSE(viewer.ShowContents((m_root / "absent.hlp").string()));
  EXPECT_EQ(opened.size(), 2u);  // nothing opened for a missing file
  viewer.Open = [](const fs::path&) { return false; };
  EXPECT_FALSE(viewer.ShowContents(help.string()));  // the browser could not be started
  fs::remove_all(win32gui::HelpPageFolder(help.string()));
}

}  // namespace
