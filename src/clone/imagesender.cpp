#include "clone/imagesender.h"

#include <algorithm>

#include "clone/cloneframe.h"

void ImageSender::Begin(receivedmap::Ranges ranges, int firstPreamble, int laterPreamble, FlowControl flow) {
  ranges_ = std::move(ranges);
  range_ = 0;
  address_ = ranges_.empty() ? 0 : ranges_.front().first;
  firstPreamble_ = firstPreamble;
  laterPreamble_ = laterPreamble;
  firstRecord_ = true;
  flow_ = flow;
  waiting_.Clear();
  waitingEndsAtFlowPoint_ = false;
  lastLength_ = 0;
}

ImageSender::Build ImageSender::BuildNext(const cmcEeprom& image) {
  while (range_ < ranges_.size() && ranges_[range_].second < address_) {
    if (++range_ < ranges_.size()) address_ = ranges_[range_].first;
  }
  if (range_ >= ranges_.size()) return Build::kEnd;
  const long long end = ranges_[range_].second;
  constexpr int kBlock = cloneframe::kRecordBlockSize;
  const long long toBoundary = kBlock - ((address_ % kBlock) + kBlock) % kBlock;
  const long long length = std::min(toBoundary, end - address_ + 1);
  if (!image.IsValidRange(address_, length)) return Build::kOutsideImage;
  const int address = static_cast<int>(address_);
  const int preamble = firstRecord_ ? firstPreamble_ : laterPreamble_;
  waiting_ = cloneframe::DataRecord(
      address, std::span<const std::uint8_t>(image.Data() + address, static_cast<std::size_t>(length)), preamble);
  firstRecord_ = false;
  lastLength_ = static_cast<int>(length);
  address_ += length;
  waitingEndsAtFlowPoint_ = AtFlowControlPoint();
  return Build::kBuilt;
}

bool ImageSender::Handed() {
  waiting_.Clear();
  const bool flowPoint = waitingEndsAtFlowPoint_;
  waitingEndsAtFlowPoint_ = false;
  return flowPoint;
}

bool ImageSender::AtFlowControlPoint() const {
  return flow_.interval > 0 && address_ != ranges_[range_].first && address_ % flow_.interval == flow_.offset;
}
