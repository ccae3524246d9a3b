// Times one run of the main window, both passes with the three-blank option,
// on the file named by the only argument, taken from the command line as
// kelbrin.exe takes it; then the same work by the core alone, without window
// or progress bar, on a copy made beforehand. Prints both in seconds, for
// `make bench`: what the window and its progress bar add to a run.
#include <windows.h>

#include <cstdio>

#include "MainUnit.h"
#include "PlatformCalls.h"
#include "RunJunbi.h"
#include "SplitTarget.h"

namespace {

using namespace kelbrin;

class SilentDisplay final : public MessageDisplay {
 public:
  void ShowCompletion(std::string_view) override {}
  void ShowFailure(const PassFailure&) override { failed = true; }
  bool failed = false;
};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Work>
double Timed(Work work) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  work();
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_bench FILE\n");
    return 2;
  }
  const TargetFile target = SplitTarget(argv[1], PlatformPathRules());
  const TargetFile copy{target.TargetDir, "core-" + target.TargetFileName};
  if (!CopyFileA(argv[1], copy.Path().c_str(), TRUE)) {
    std::fprintf(stderr, "window_bench: cannot copy %s\n", argv[1]);
    return 1;
  }
  static int boxes = 0;
  ui::Platform().messageBox = [](HWND, LPCWSTR, LPCWSTR, UINT) {
    ++boxes;
    return IDOK;
  };

  ui::TMainForm form;
  for (HWND box : {form.CommentCheckBox, form.SpaceToTabCheckBox, form.Space3CheckBox})
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  const double window = Timed([&] { SendMessageW(form.Button4, BM_CLICK, 0, 0); });

  NoProgress progress;
  SilentDisplay display;
  const double core = Timed([&] { RunJunbi(copy, {true, true, true}, progress, display); });

  if (boxes != 1 || display.failed) {
    std::fprintf(stderr, "window_bench: a run failed\n");
    return 1;
  }
  std::printf("window %.4f core %.4f\n", window, core);
  return 0;
}
