#pragma once

#include <optional>
#include <string_view>

#include "Failure.h"
#include "MessageDisplay.h"
#include "PassProgress.h"
#include "TargetFile.h"
#include "platform/FileSystem.h"

namespace kelbrin {

// The passes a run makes, as the user ticked them. The three-blank option
// only matters to the tab pass.
struct PassSelection {
  bool commentDelete = false;
  bool spaceToTab = false;
  bool space3 = false;

  bool Any() const { return commentDelete || spaceToTab; }
};

inline constexpr std::string_view kCompletionMessage = "んん、カッコよくなったなっ!!";

// One run: the comment pass, then the tab pass, each as selected, stopping at
// the first that fails. Then the display shows the completion message or the
// failure; with no pass selected nothing happens and nothing is shown.
std::optional<PassFailure> RunJunbi(const TargetFile& target, const PassSelection& selection,
                                    PassProgress& progress, MessageDisplay& display,
                                    FileSystem& fileSystem = PlatformFileSystem());

}  // namespace kelbrin
