// The installed programs as the Start menu starts them (see installed.h).
#include "tests/e2e/installed.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwctype>

#include "tests/e2e/drill_view.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/session.h"

namespace e2e {
namespace {

constexpr wchar_t kFolderName[] = L"Quarn";
constexpr wchar_t kDivisionExe[] = L"D_Quarn.exe";
constexpr wchar_t kReportExe[] = L"Quarn_Report.exe";
constexpr wchar_t kReportFile[] = L"report.html";

struct ComRelease {
  void operator()(IUnknown* p) const { p->Release(); }
};
template <class T>
using UniqueCom = win32::Unique<T*, ComRelease>;

class ComApartment {
 public:
  ComApartment() : ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (ok) CoUninitialize();
  }
  bool Ok() const { return ok; }

 private:
  bool ok;
};

struct CoTaskMemRelease {
  void operator()(wchar_t* p) const { CoTaskMemFree(p); }
};

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* raw = nullptr;
  const HRESULT result = SHGetKnownFolderPath(id, 0, nullptr, &raw);
  win32::Unique<wchar_t*, CoTaskMemRelease> path(raw);
  Require(SUCCEEDED(result) && path, "no known folder (error %#lx)",
          static_cast<unsigned long>(result));
  return path.Get();
}

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return text;
}

// Paths as Windows compares them: any letter case, a folder with or without its final "\".
bool SamePath(std::wstring a, std::wstring b) {
  for (std::wstring* path : {&a, &b})
    while (path->size() > 3 && path->back() == L'\\')
      path->pop_back();
  return Lower(a) == Lower(b);
}

struct Shortcut {
  std::wstring target;
  std::wstring workingDir;
  std::wstring arguments;
};

// Reads a .lnk file the way Explorer does, through IShellLinkW and IPersistFile.
Shortcut ReadShortcut(const std::wstring& path) {
  IShellLinkW* rawLink = nullptr;
  Require(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkW, reinterpret_cast<void**>(&rawLink))),
          "cannot create a shell link object");
  UniqueCom<IShellLinkW> link(rawLink);
  IPersistFile* rawFile = nullptr;
  Require(
      SUCCEEDED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile))),
      "the shell link object has no IPersistFile");
  UniqueCom<IPersistFile> file(rawFile);
  Require(SUCCEEDED(file.Get()->Load(path.c_str(), STGM_READ)), "cannot load the shortcut %s",
          Utf8(path).c_str());
  wchar_t target[MAX_PATH] = {};
  wchar_t dir[MAX_PATH] = {};
  wchar_t arguments[MAX_PATH] = {};
  Require(SUCCEEDED(link.Get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)),
          "the shortcut %s has no target", Utf8(path).c_str());
  link.Get()->GetWorkingDirectory(dir, MAX_PATH);
  link.Get()->GetArguments(arguments, MAX_PATH);
  return {target, dir, arguments};
}

void RunReport(const std::wstring& exe, const std::wstring& practiceDir) {
  Running report = StartProcess(exe, L"--no-open", practiceDir);
  const std::optional<DWORD> code = WaitExit(report, 30000);
  if (!code) TerminateProcess(report.process.Get(), 1);
  Require(code.has_value(), "the report program still runs after 30 s");
  Expect(*code == 0, "the report program exited with code %lu", *code);
  Expect(PathExists(JoinPath(practiceDir, kReportFile)), "the report program wrote no %s in %s",
         Utf8(kReportFile).c_str(), Utf8(practiceDir).c_str());
}

}  // namespace

void Installed(const InstalledOptions& options) {
  ComApartment com;
  Require(com.Ok(), "COM does not start");
  const std::wstring installDir =
      JoinPath(JoinPath(KnownFolder(FOLDERID_LocalAppData), L"Programs"), kFolderName);
  const std::wstring menuDir = JoinPath(KnownFolder(FOLDERID_Programs), kFolderName);
  const std::wstring practiceDir = options.practiceDir.empty()
                                       ? JoinPath(KnownFolder(FOLDERID_Documents), kFolderName)
                                       : options.practiceDir;
  Say("install folder %s, Start-menu folder %s, practice folder %s", Utf8(installDir).c_str(),
      Utf8(menuDir).c_str(), Utf8(practiceDir).c_str());
  if (!options.shortcutsOnly)
    Require(PathExists(practiceDir), "the installer made no practice folder %s",
            Utf8(practiceDir).c_str());

  std::vector<std::wstring> expectedLinks;
  std::wstring divisionTarget, divisionDir, reportTarget;
  for (const ShippedProgram& program : options.programs) {
    const std::wstring exe = JoinPath(installDir, program.exe);
    Expect(PathExists(exe), "%s is not installed", Utf8(exe).c_str());
    const std::wstring linkName = program.title + L".lnk";
    expectedLinks.push_back(Lower(linkName));
    const std::wstring linkPath = JoinPath(menuDir, linkName);
    if (!Expect(PathExists(linkPath), "no shortcut %s", Utf8(linkPath).c_str())) continue;
    const Shortcut link = ReadShortcut(linkPath);
    Say("shortcut %s: target %s %s, starts in %s", Utf8(linkName).c_str(),
        Utf8(link.target).c_str(), Utf8(link.arguments).c_str(), Utf8(link.workingDir).c_str());
    Expect(SamePath(link.target, exe), "the shortcut %s starts %s instead of %s",
           Utf8(linkName).c_str(), Utf8(link.target).c_str(), Utf8(exe).c_str());
    Expect(link.arguments == program.arguments, "the shortcut %s passes \"%s\" instead of \"%s\"",
           Utf8(linkName).c_str(), Utf8(link.arguments).c_str(), Utf8(program.arguments).c_str());
    Expect(SamePath(link.workingDir, practiceDir), "the shortcut %s starts in %s instead of %s",
           Utf8(linkName).c_str(), Utf8(link.workingDir).c_str(), Utf8(practiceDir).c_str());
    if (!program.arguments.empty()) continue;
    if (SamePath(program.exe, kDivisionExe)) {
      divisionTarget = link.target;
      divisionDir = link.workingDir;
    }
    if (SamePath(program.exe, kReportExe)) reportTarget = link.target;
  }
  std::vector<std::wstring> foundLinks;
  for (const DirEntry& entry : ListDir(menuDir))
    if (!entry.directory) foundLinks.push_back(Lower(entry.name));
  std::sort(foundLinks.begin(), foundLinks.end());
  std::sort(expectedLinks.begin(), expectedLinks.end());
  Expect(foundLinks == expectedLinks, "the Start-menu folder holds %zu entries, %zu expected",
         foundLinks.size(), expectedLinks.size());
  if (options.shortcutsOnly) return;

  Require(!divisionTarget.empty(), "no shortcut starts %s", Utf8(kDivisionExe).c_str());
  Session session(MakeBuild(drill::DrillKind::kDivision, divisionTarget), divisionDir);
  session.AnswerRight();
  session.AnswerWrong();
  session.AnswerRight();
  session.AnswerRight();
  session.PressQuitButton();
  session.FinishRun({});  // checks the one log in the shortcut's working folder
  Expect(LogFiles(practiceDir).size() == 1, "the practice folder holds no log");
  Expect(LogFiles(installDir).empty(), "a log landed in the install folder");

  if (reportTarget.empty()) {
    Say("no report program shipped: the report is not checked");
    return;
  }
  RunReport(reportTarget, divisionDir);
}

}  // namespace e2e
