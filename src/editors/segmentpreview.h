#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

class Segchar;

// A row of segment glyphs in a one-pixel black frame: what the radio's
// display shows of a text.
class SegmentPreview : public QWidget {
  Q_OBJECT

 public:
  SegmentPreview(const Segchar* shapes, QWidget* parent = nullptr);
  void SetPatterns(std::vector<std::uint16_t> patterns);
  const std::vector<std::uint16_t>& Patterns() const { return patterns_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Segchar* shapes_;
  std::vector<std::uint16_t> patterns_;
};
