#include "links/checklinks.h"

#include "links/celllinks.h"
#include "links/linktable.h"

namespace {

constexpr int kMarks = cellmark::kWarning | cellmark::kError;

LinkOutcome SumMarks(LinkCall& call, const CheckLinkRow& check) {
  int marks = 0;
  for (const CheckedRow& row : check.rows) {
    for (std::int32_t parameter = row.first; parameter <= row.last && marks != kMarks; ++parameter) {
      marks |= call.links.FlagsOf(row.type, row.link, parameter);
    }
  }
  if (check.level == CheckLevel::kError && marks != 0) marks = cellmark::kError;
  call.request.marks |= marks & kMarks;
  return {};
}

}  // namespace

void AddCheckLinks(LinkTable& table, std::span<const CheckLinkRow> checks) {
  for (const CheckLinkRow& check : checks) {
    table.Add(check.link, [&check](LinkCall& call) { return SumMarks(call, check); });
  }
}
