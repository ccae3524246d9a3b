#include "Filter.h"

#include <vector>

#include "CommentRule.h"
#include "RewriteStream.h"
#include "TabRule.h"

namespace kelbrin {

IoStatus RunFilter(const PassSelection& selection, FileSystem& fileSystem) {
  std::vector<const ByteRule*> rules;
  if (selection.commentDelete) rules.push_back(&CommentRule());
  if (selection.spaceToTab) rules.push_back(&TabRule(selection.space3));
  return RewriteStream(fileSystem, fileSystem.StandardInput(), fileSystem.StandardOutput(), rules,
                       [](std::int64_t) {})
      .status;
}

}  // namespace kelbrin
