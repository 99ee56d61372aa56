// The 128-row land-mobile channel sheet in the grid, painted offscreen whole,
// beside a QTableWidget holding the same texts in cells of the same sizes,
// painted the same way. The grid asks every cell's link for its text while it
// paints; the table widget only draws texts it holds.
#include "grid/grid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTableWidget>
#include <cstdlib>
#include <memory>

#include "landmobile.h"
#include "sheet/sheettext.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_grid";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication application(argc, argv);
  return application;
}

FullLandMobile& Fixture() {
  static FullLandMobile fixture;
  return fixture;
}

// The whole sheet fits the grid's client area, so every cell is painted.
QSize WholeSheet(const cuiSheet& sheet) {
  return {static_cast<int>(sheet.Geometry().TotalWidth()), static_cast<int>(sheet.Geometry().TotalHeight())};
}

void Resize(QAbstractScrollArea& area, const QSize& client) {
  area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area.resize(client + QSize(2 * area.frameWidth(), 2 * area.frameWidth()));
}

void Paint(QWidget& viewport, QImage& image) {
  QPainter painter(&image);
  viewport.render(&painter);
}

void Count(benchmark::State& state, const cuiSheet& sheet) {
  state.counters["rows"] = sheet.Rows();
  state.counters["cells"] = static_cast<double>(sheet.Rows()) * sheet.Columns();
}

// Opens the sheet in a grid and paints it.
void OpenAndPaintLmrSheetInGrid(benchmark::State& state) {
  Application();
  FullLandMobile& fixture = Fixture();
  cuiGrid grid;
  cuiSheet* shown = nullptr;
  QImage image;
  for (auto _ : state) {
    std::unique_ptr<cuiSheet> sheet = fixture.Sheet(&grid, &grid.Measurer());
    shown = sheet.get();
    grid.Attach(std::move(sheet));
    shown->Show();
    Resize(grid, WholeSheet(*shown));
    image = QImage(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    Paint(*grid.viewport(), image);
  }
  Count(state, *shown);
}
BENCHMARK(OpenAndPaintLmrSheetInGrid)->Unit(benchmark::kMillisecond);

// Paints the open sheet again.
void PaintLmrSheetInGrid(benchmark::State& state) {
  Application();
  FullLandMobile& fixture = Fixture();
  cuiGrid grid;
  std::unique_ptr<cuiSheet> sheet = fixture.Sheet(&grid, &grid.Measurer());
  cuiSheet& shown = *sheet;
  grid.Attach(std::move(sheet));
  shown.Show();
  Resize(grid, WholeSheet(shown));
  QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) Paint(*grid.viewport(), image);
  Count(state, shown);
}
BENCHMARK(PaintLmrSheetInGrid)->Unit(benchmark::kMillisecond);

// The same texts, column widths and row heights in a table widget, painted.
void PaintLmrTextsInTableWidget(benchmark::State& state) {
  Application();
  FullLandMobile& fixture = Fixture();
  cuiGrid measuring;
  std::unique_ptr<cuiSheet> sheet = fixture.Sheet(nullptr, &measuring.Measurer());
  sheet->Build();
  QTableWidget table(sheet->Rows(), sheet->Columns());
  table.horizontalHeader()->hide();
  table.verticalHeader()->hide();
  for (int row = 0; row < sheet->Rows(); ++row) {
    const std::vector<std::string> texts = RowTexts(*sheet, row);
    table.setRowHeight(row, sheet->Geometry().RowHeight(row));
    for (int column = 0; column < sheet->Columns(); ++column) {
      table.setItem(row, column, new QTableWidgetItem(QString::fromStdString(texts[column])));
    }
  }
  for (int column = 0; column < sheet->Columns(); ++column) {
    table.setColumnWidth(column, sheet->Geometry().ColumnWidth(column));
  }
  Resize(table, WholeSheet(*sheet));
  QImage image(table.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) Paint(*table.viewport(), image);
  Count(state, *sheet);
}
BENCHMARK(PaintLmrTextsInTableWidget)->Unit(benchmark::kMillisecond);

}  // namespace
