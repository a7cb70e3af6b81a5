#include "win32gui/win32_help_viewer.h"

#include <windows.h>
// The shell's header after windows.h.
#include <shellapi.h>

#include <fstream>
#include <sstream>
#include <system_error>

#include "win32gui/text.h"

namespace win32gui {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHelpPage = "help.html";
constexpr const char* kTopicPage = "topic.html";

// A topic as the fragment of a URL inside an HTML attribute: anything but letters,
// digits and "-._~" percent-encoded, so no topic name can end the attribute.
std::string Fragment(const std::string& topic) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string fragment;
  for (const char c : topic) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      fragment += c;
    } else {
      fragment += '%';
      fragment += kHex[byte >> 4];
      fragment += kHex[byte & 0x0F];
    }
  }
  return fragment;
}

bool WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  return static_cast<bool>(file);
}

bool ShellOpen(const fs::path& page) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", page.wstring().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // ShellExecute answers a number above 32 when it started the program.
  return result > 32;
}

}  // namespace

std::optional<fs::path> PrepareHelpPage(const std::string& help_file, const std::string& topic,
                                        const fs::path& folder) {
  const fs::path source(Wide(help_file));
  std::error_code error;
  if (!fs::is_regular_file(source, error)) return std::nullopt;
  std::ifstream file(source, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream html;
  html << file.rdbuf();
  if (file.bad()) return std::nullopt;

  fs::create_directories(folder, error);
  if (!WriteFile(folder / kHelpPage, html.str())) return std::nullopt;
  if (topic.empty()) return folder / kHelpPage;

  const std::string target = std::string(kHelpPage) + "#" + Fragment(topic);
  const std::string forward =
      "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"refresh\" content=\"0; url=" +
      target +
      "\">\n"
      "<script>location.replace(\"" +
      target +
      "\");</script>\n"
      "</head>\n<body><a href=\"" +
      target + "\">Help</a></body>\n</html>\n";
  if (!WriteFile(folder / kTopicPage, forward)) return std::nullopt;
  return folder / kTopicPage;
}

fs::path HelpPageFolder(const std::string& help_file) {
  std::error_code error;
  fs::path temp = fs::temp_directory_path(error);
  if (error) temp = fs::current_path(error);
  return temp / (fs::path(Wide(help_file)).stem().wstring() + L"-help");
}

Win32HelpViewer::Win32HelpViewer() : Open(ShellOpen) {}

bool Win32HelpViewer::Show(const std::string& help_file, const std::string& topic) {
  const std::optional<fs::path> page = PrepareHelpPage(help_file, topic, HelpPageFolder(help_file));
  return page && Open && Open(*page);
}

bool Win32HelpViewer::ShowContents(const std::string& help_file) {
  return Show(help_file, std::string());
}

bool Win32HelpViewer::ShowTopic(const std::string& help_file, const std::string& topic) {
  return Show(help_file, topic);
}

}  // namespace win32gui
