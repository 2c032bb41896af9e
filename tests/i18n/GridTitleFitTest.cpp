// SPDX-License-Identifier: GPL-3.0-or-later
// The grids' column titles read whole in every language at the design widths: a title a
// little wider than its column is drawn condensed rather than cut at both ends
// ("usgewähltes Wor"), looked at as a person sees the window.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QTest>

#include "AllWindows.h"
#include "LayerGrid.h"
#include "QtCatalogs.h"
#include "Texts.h"

namespace vantrel {
namespace {

// Whether a pixel column of the picture holds text between the rows top and bottom: dark
// text on the light face of a title cell, darker than the cell's shaded edges.
bool InkInColumn(const QImage& picture, int x, int top, int bottom) {
  for (int y = top; y <= bottom; ++y) {
    if (qGray(picture.pixel(x, y)) < 110) {
      return true;
    }
  }
  return false;
}

class GridTitleFitTest : public ::testing::TestWithParam<const char*> {
 protected:
  void TearDown() override {
    qputenv("LANG", "en_US.UTF-8");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
};

TEST_P(GridTitleFitTest, EveryTitleShowsWholeInsideItsColumn) {
  const char* language = GetParam();
  qputenv("LANG", language);
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  AllWindows windows;
  ASSERT_EQ(windows.translator.Language(), QString::fromLatin1(language));

  int titles = 0;
  for (QWidget* window :
       {static_cast<QWidget*>(windows.form.get()), static_cast<QWidget*>(windows.affix.get())}) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QCoreApplication::processEvents();
    for (TLayerGrid* grid : window->findChildren<TLayerGrid*>()) {
      SCOPED_TRACE(grid->objectName().toStdString());
      const QImage picture = grid->viewport()->grab().toImage();
      for (int col = 0; col < grid->ColCount(); ++col) {
        const QString title = grid->CellText(col, 0);
        if (grid->FixedRows() == 0 || title.trimmed().isEmpty()) {
          continue;
        }
        SCOPED_TRACE(title.toStdString());
        ++titles;
        const QRect cell = grid->CellRect(col, 0).intersected(picture.rect());
        ASSERT_GT(cell.width(), 8);
        // The text's rows, away from the cell's edges above and below.
        const int top = cell.top() + 2;
        const int bottom = cell.bottom() - 2;
        EXPECT_TRUE(InkInColumn(picture, cell.center().x() - 8, top, bottom) ||
                    InkInColumn(picture, cell.center().x(), top, bottom) ||
                    InkInColumn(picture, cell.center().x() + 8, top, bottom))
            << "no title drawn";
        // Text keeps its inset from the cell's edges; a title cut there has ink in the
        // pixel column right inside each edge.
        EXPECT_FALSE(InkInColumn(picture, cell.left() + 1, top, bottom)) << "cut at the left";
        EXPECT_FALSE(InkInColumn(picture, cell.right() - 1, top, bottom)) << "cut at the right";
      }
    }
    window->hide();
  }
  EXPECT_GE(titles, 4);  // both main-window grids' two titles, at least
}

// A column narrowed a little below its title's width shows the title condensed, whole; one
// far too narrow shows the title's middle, cut at both edges, for letters squeezed
// further would run together.
TEST_F(GridTitleFitTest, ATitleALittleTooWideIsCondensedAndOneFarTooWideIsCut) {
  qputenv("LANG", "de_DE");
  i18n::TranslationSetup setup = i18n::TTranslationInstance::ForThisProgram();
  setup.languageSources = i18n::EnvironmentLanguageSources();
  i18n::ProgramTranslation translation(setup);
  AllWindows windows;
  windows.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(windows.form.get()));
  auto* grid = windows.form->findChild<TLayerGrid*>(QStringLiteral("SelectedGrid"));
  ASSERT_NE(grid, nullptr);
  const QString title = grid->CellText(0, 0);
  ASSERT_EQ(title, QStringLiteral("Ausgew\u00e4hltes Wort"));
  const int width = QFontMetrics(grid->DisplayFont(0, 0)).horizontalAdvance(title);
  struct Case {
    int column;  // the column's width
    bool whole;
  };
  for (const Case c : {Case{width * 95 / 100, true}, Case{width * 85 / 100, true},
                       Case{width * 60 / 100, false}}) {
    SCOPED_TRACE(c.column);
    grid->SetColWidth(0, c.column);
    QCoreApplication::processEvents();
    const QImage picture = grid->viewport()->grab().toImage();
    const QRect cell = grid->CellRect(0, 0);
    const int top = cell.top() + 2;
    const int bottom = cell.bottom() - 2;
    // Whole: nothing in the pixel column inside either edge. Cut: letters run into the
    // edges, so some of the three columns inside each holds ink.
    auto inkNear = [&](int x, int step) {
      return InkInColumn(picture, x, top, bottom) ||
             (!c.whole && (InkInColumn(picture, x + step, top, bottom) ||
                           InkInColumn(picture, x + 2 * step, top, bottom)));
    };
    EXPECT_EQ(inkNear(cell.left() + 1, 1), !c.whole);
    EXPECT_EQ(inkNear(cell.right() - 1, -1), !c.whole);
    EXPECT_TRUE(InkInColumn(picture, cell.center().x(), top, bottom) ||
                InkInColumn(picture, cell.center().x() + 3, top, bottom));
  }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, GridTitleFitTest,
                         ::testing::Values("en_US", "de_DE", "fr_FR"));

}  // namespace
}  // namespace vantrel
