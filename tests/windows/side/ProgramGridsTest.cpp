// SPDX-License-Identifier: GPL-3.0-or-later
// The five grids of the program: their design, what it resolves to, and how they look.

#include "ProgramGrids.h"

#include "Affixes.h"
#include "MainModel.h"
#include "Search.h"
#include "SettingsList.h"
#include "WordLookup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vantrel {
namespace {

const ProgramGrid kAllGrids[] = {ProgramGrid::kPossible, ProgramGrid::kSelected,
                                 ProgramGrid::kAffix, ProgramGrid::kConverted,
                                 ProgramGrid::kSelectedAffix};

std::unique_ptr<TLayerGrid> Make(ProgramGrid which) {
  return MakeProgramGrid(which);
}

// Shows a grid on its own, each of its first rows filled with texts of its own, and waits
// until it can be seen.
std::unique_ptr<TLayerGrid> ShownWithText(ProgramGrid which, QSize size) {
  auto grid = Make(which);
  for (int row = 0; row < std::min(grid->RowCount(), 40); ++row) {
    for (int col = 0; col < grid->ColCount(); ++col) {
      grid->SetCellText(col, row, QStringLiteral("r%1c%2").arg(row).arg(col));
    }
  }
  grid->resize(size);
  grid->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
  return grid;
}

// The proposed affix word may be corrected in place, by a double click or by typing over
// it; its digits may not (the bullets that OK writes into the number follow them), nor
// any header, nor any cell of the other grids, whose words are picked, not written.
TEST(ProgramGrids, OnlyTheProposedAffixWordCanBeCorrectedInPlace) {
  for (const ProgramGrid which : kAllGrids) {
    const auto grid = ShownWithText(which, {360, 200});
    for (int row = 0; row < 3 && row < grid->RowCount(); ++row) {
      for (int col = 0; col < grid->ColCount(); ++col) {
        SCOPED_TRACE(grid->objectName().toStdString() + " column " + std::to_string(col) + " row " +
                     std::to_string(row));
        const bool correctable = which == ProgramGrid::kSelectedAffix && col == 0 && row == 1;
        const QString before = grid->CellText(col, row);

        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(col, row).center());
        EXPECT_EQ(grid->Editing(), correctable);
        if (grid->Editing()) {
          auto* editor = grid->findChild<QLineEdit*>();
          ASSERT_NE(editor, nullptr);
          editor->selectAll();
          QTest::keyClicks(editor, QStringLiteral("balling"));
          QTest::keyClick(editor, Qt::Key_Return);
          EXPECT_FALSE(grid->Editing());
          EXPECT_EQ(grid->CellText(col, row), QStringLiteral("balling"));
          grid->SetCellText(col, row, before);
        }

        if (grid->FocusCell(col, row)) {
          QTest::keyClick(grid.get(), Qt::Key_X, Qt::NoModifier);
          EXPECT_EQ(grid->Editing(), correctable) << "typing over the cell";
          if (grid->Editing()) {
            QTest::keyClick(grid->findChild<QLineEdit*>(), Qt::Key_Escape);
          }
        }
        EXPECT_EQ(grid->CellText(col, row), before);
      }
    }
  }
}

// The grids keep the editable setting of their designs even where the program leaves
// editing off: a window that switches editing on gets read-only candidate and affix lists,
// whose words are picked from the dictionary, while the phrase and lookup grids would take
// an edit in any cell below their headers.
TEST(ProgramGrids, WithEditingSwitchedOnOnlyThePhraseAndLookupGridsTakeAnEdit) {
  const struct {
    ProgramGrid which;
    bool editable;
  } cases[] = {
      {ProgramGrid::kPossible, false},
      {ProgramGrid::kSelected, true},
      {ProgramGrid::kAffix, false},
      {ProgramGrid::kConverted, true},
  };
  for (const auto& c : cases) {
    const auto grid = ShownWithText(c.which, {360, 200});
    SCOPED_TRACE(grid->objectName().toStdString());
    EXPECT_FALSE(grid->Options().testFlag(TLayerGrid::kEditing)) << "the program's own options";
    grid->SetOptions(grid->Options() | TLayerGrid::kEditing);
    for (int col = 0; col < grid->ColCount(); ++col) {
      const int row = grid->FixedRows() + 1;
      SCOPED_TRACE("column " + std::to_string(col));
      const QString before = grid->CellText(col, row);
      QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(col, row).center());
      EXPECT_EQ(grid->Editing(), c.editable);
      if (grid->Editing()) {
        QTest::keyClick(grid->Editor(), Qt::Key_Escape);
      }
      EXPECT_EQ(grid->CellText(col, row), before);
    }
  }
}

// The header row of the candidate and phrase grids stays in sight while their lists
// scroll; the affix and lookup grids have no header and scroll as a whole.
TEST(ProgramGrids, HeadersStayInSightWhileTheListScrolls) {
  const struct {
    ProgramGrid which;
    bool header;
  } cases[] = {
      {ProgramGrid::kPossible, true},
      {ProgramGrid::kSelected, true},
      {ProgramGrid::kAffix, false},
      {ProgramGrid::kConverted, false},
  };
  for (const auto& c : cases) {
    const auto grid = ShownWithText(c.which, {300, 130});
    SCOPED_TRACE(grid->objectName().toStdString());
    ASSERT_TRUE(grid->FocusCell(0, 1));
    const QRect top(0, 0, grid->viewport()->width(), grid->CellRect(0, 0).height());
    const QImage before = grid->viewport()->grab(top).toImage();
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(grid.get(), Qt::Key_PageDown);
    }
    ASSERT_GT(grid->TopRow(), 2) << "the list scrolled";
    EXPECT_EQ(grid->CellAt(top.center()).row == 0, c.header);
    EXPECT_EQ(grid->viewport()->grab(top).toImage() == before, c.header)
        << "what the top of the grid shows";
  }
}

// The windows put the stored column widths on the candidate, phrase and affix-word grids,
// and the settings' own values where none is stored: the grids start with those, so that
// a first start shows the columns as the settings describe them.
TEST(ProgramGrids, ColumnsStartAtTheWidthsTheSettingsFallBackTo) {
  const struct {
    ProgramGrid which;
    Setting word;
    Setting number;
  } cases[] = {
      {ProgramGrid::kPossible, Setting::kWordWidth, Setting::kNumberWidth},
      {ProgramGrid::kSelected, Setting::kWordWidth, Setting::kNumberWidth},
      {ProgramGrid::kSelectedAffix, Setting::kAffixWordWidth, Setting::kAffixNumberWidth},
  };
  for (const auto& c : cases) {
    const auto grid = Make(c.which);
    SCOPED_TRACE(grid->objectName().toStdString());
    EXPECT_EQ(grid->ColWidth(0), RowOf(c.word).design);
    EXPECT_EQ(grid->ColWidth(1), RowOf(c.number).design);
  }
}

// However wide the window makes a grid, its last column reaches the grid's right edge.
TEST(ProgramGrids, TheLastColumnFillsTheGridsWidth) {
  for (const ProgramGrid which : kAllGrids) {
    const auto grid = ShownWithText(which, {420, 140});
    SCOPED_TRACE(grid->objectName().toStdString());
    for (const int width : {420, 560}) {
      grid->resize(width, 140);
      QCoreApplication::processEvents();
      const QRect last = grid->CellRect(grid->ColCount() - 1, grid->FixedRows());
      EXPECT_GE(last.right(), grid->viewport()->width() - 2) << "width " << width;
      EXPECT_LE(last.right(), grid->viewport()->width()) << "width " << width;
    }
  }
}

void HideToolTip() {
  QToolTip::hideText();
  for (int i = 0; i < 100 && QToolTip::isVisible(); ++i) {
    QTest::qWait(20);
  }
}

// The lists the user picks from show the hint their window gives them; the lookup grid
// has cell hints on and no cell with one, and the affix word grid none at all.
TEST(ProgramGrids, TheListsToPickFromShowTheirWindowsHint) {
  const struct {
    ProgramGrid which;
    bool shown;
  } cases[] = {
      {ProgramGrid::kPossible, true},       {ProgramGrid::kSelected, true},
      {ProgramGrid::kAffix, true},          {ProgramGrid::kConverted, false},
      {ProgramGrid::kSelectedAffix, false},
  };
  for (const auto& c : cases) {
    const auto grid = ShownWithText(c.which, {360, 200});
    SCOPED_TRACE(grid->objectName().toStdString());
    HideToolTip();
    grid->SetHint(QStringLiteral("Click to select"));
    const QPoint point = grid->CellRect(0, 1).center();
    QHelpEvent request(QEvent::ToolTip, point, grid->viewport()->mapToGlobal(point));
    QApplication::sendEvent(grid->viewport(), &request);
    EXPECT_EQ(QToolTip::isVisible() && QToolTip::text() == QStringLiteral("Click to select"),
              c.shown);
    HideToolTip();
  }
}

// Each grid shows the whole table the engine fills for it, as the windows attach it: the
// last row's text can be scrolled into sight (a grid shorter than its table would hide the
// last candidates, phrase words or affixes), and the table has the grid's columns, so the
// widths of its design stay.
TEST(ProgramGrids, EachGridShowsTheWholeTableTheEngineFillsForIt) {
  struct SilentHost final : MainHost {
    void Warn(const Message&) override {}
  } host;
  DictionaryFile dictionary;
  MainModel main(dictionary, host);
  LookupModel lookup(dictionary, host);
  const MainModel::GridTables tables = main.TablesForGrids();
  struct Case {
    ProgramGrid which;
    CellTable& table;
    int leastRows;  // what the engine may write into it
  };
  const Case cases[] = {
      {ProgramGrid::kPossible, tables.candidates, kMaxCandidates + 1},
      {ProgramGrid::kSelected, tables.phrase, MainModel::kPhraseSlots},
      {ProgramGrid::kAffix, tables.affixOffers, AffixTable::kCapacity},
      {ProgramGrid::kConverted, lookup.ResultsForGrid(), 19},
      {ProgramGrid::kSelectedAffix, tables.correction, 2},
  };
  for (const Case& c : cases) {
    const auto grid = Make(c.which);
    SCOPED_TRACE(grid->objectName().toStdString());
    std::vector<int> widths;
    for (int col = 0; col < grid->ColCount(); ++col) {
      widths.push_back(grid->ColWidth(col));
      EXPECT_GT(widths.back(), 0) << "column " << col;
    }
    const int last = c.table.RowCount() - 1;
    for (int col = 0; col < c.table.ColCount(); ++col) {
      c.table.SetCell(col, last, "last" + std::to_string(col));
    }
    grid->SetTable(&c.table);
    EXPECT_EQ(grid->ColCount(), static_cast<int>(widths.size()));
    for (int col = 0; col < grid->ColCount(); ++col) {
      EXPECT_EQ(grid->ColWidth(col), widths[static_cast<std::size_t>(col)]) << "column " << col;
      EXPECT_EQ(grid->CellText(col, last), QStringLiteral("last%1").arg(col));
    }
    grid->resize(360, 200);
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    EXPECT_GE(grid->RowCount(), c.leastRows);
    grid->FocusCell(0, last);
    EXPECT_TRUE(grid->viewport()->rect().intersects(grid->CellRect(0, last)))
        << "the last row scrolls into sight";
    grid->SetTable(nullptr);
  }
}

// The main window keeps the columns of the candidate and phrase grids in step: they start
// equal, so that the first sync moves nothing.
TEST(ProgramGrids, CandidateAndPhraseColumnsStartInStep) {
  const auto possible = Make(ProgramGrid::kPossible);
  const auto selected = Make(ProgramGrid::kSelected);
  for (int col = 0; col < 2; ++col) {
    EXPECT_EQ(possible->ColWidth(col), selected->ColWidth(col)) << "column " << col;
  }
}

// The user drags column borders in every grid but the one-column lookup grid.
TEST(ProgramGrids, ColumnsResizeByDragWhereThereIsMoreThanOne) {
  using Opt = TLayerGrid::GridOption;
  for (const ProgramGrid which : kAllGrids) {
    SCOPED_TRACE(static_cast<int>(which));
    const auto grid = Make(which);
    EXPECT_EQ(grid->Options().testFlag(Opt::kColSizing), grid->ColCount() > 1);
  }
}

TEST(ProgramGrids, ResolvedLooks) {
  struct Case {
    const char* name;
    ProgramGrid which;
    int col;
    int row;
    TCellAlign align;
    bool bold;
    StoredColor color;
    TCellWordwrap wordwrap;
    bool whiteBrush;  // from a layer rather than the grid's background
  };
  const Case cases[] = {
      {"candidate header", ProgramGrid::kPossible, 0, 0, alCenter, true, kSysWindowText, ww_none,
       false},
      {"digits header", ProgramGrid::kPossible, 1, 0, alCenter, true, kSysWindowText, ww_none,
       false},
      {"candidate", ProgramGrid::kPossible, 0, 7, alCenter, false, kSysWindowText, ww_none, false},
      {"phrase header", ProgramGrid::kSelected, 1, 0, alCenter, true, kSysWindowText, ww_none,
       false},
      {"phrase word", ProgramGrid::kSelected, 0, 3, alCenter, false, kSysWindowText, ww_none,
       false},
      {"first affix", ProgramGrid::kAffix, 0, 0, alCenter, false, kBlack, ww_ellipsis, true},
      {"first affix digits", ProgramGrid::kAffix, 1, 0, alCenter, false, kSysWindowText,
       ww_ellipsis, true},
      {"later affix", ProgramGrid::kAffix, 0, 1, alCenter, false, kBlack, ww_none, false},
      {"later affix digits", ProgramGrid::kAffix, 1, 1, alCenter, false, kSysWindowText, ww_none,
       false},
      {"lookup result", ProgramGrid::kConverted, 0, 0, alCenter, false, kSysWindowText, ww_none,
       false},
      {"proposal header", ProgramGrid::kSelectedAffix, 1, 0, alCenter, true, kSysWindowText,
       ww_none, false},
      {"proposed word: the column beats the row", ProgramGrid::kSelectedAffix, 0, 1, alCenter, true,
       kSysWindowText, ww_none, false},
      {"proposed digits", ProgramGrid::kSelectedAffix, 1, 1, alCenter, false, kSysWindowText,
       ww_none, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto grid = Make(c.which);
    const CellLayers& layers = grid->Layers();
    EXPECT_EQ(layers.Resolve(c.col, c.row).align, c.align);
    const TLayerFont& font = *layers.Resolve(c.col, c.row).font;
    EXPECT_EQ(font.Font().bold(), c.bold);
    EXPECT_FALSE(font.Font().italic());
    EXPECT_EQ(font.Font().pixelSize(), 16);
    EXPECT_EQ(font.ColorRef(), c.color);
    EXPECT_EQ(layers.Resolve(c.col, c.row).wordwrap, c.wordwrap);
    const QBrush& brush = *layers.Resolve(c.col, c.row).brush;
    EXPECT_EQ(&brush != &layers.Background().Brush() && &brush != &layers.FixedBrush().Brush(),
              c.whiteBrush);
    if (c.whiteBrush) {
      EXPECT_EQ(brush.color(), QColor(Qt::white));
    }
  }
}

TEST(ProgramGrids, ClassAItalicsComeThroughTheCellFontWhateverTheColumnFont) {
  for (const ProgramGrid which : {ProgramGrid::kPossible, ProgramGrid::kAffix}) {
    SCOPED_TRACE(static_cast<int>(which));
    const auto grid = Make(which);
    // A column font of another family and size: it must not take the italics away.
    grid->Layers()
        .Entry(LayerKind::kColumn, 0)
        .SetFont(TLayerFont(kBlack, -20, QStringLiteral("Serif"), 0, kBold));
    grid->SetCellText(0, 3, QStringLiteral("Boston"));
    grid->Table().SetItalic(0, 3, true);
    const TCellProperties* entry = grid->Layers().FindEntry(LayerKind::kCell, 0, 3);
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(entry->Font(), nullptr);
    const TLayerFont& italic = *grid->Layers().Resolve(0, 3).font;
    EXPECT_EQ(&italic, entry->Font());
    EXPECT_TRUE(italic.Font().italic());
    // The cell's own font starts as a copy of the grid's font, not of the column's.
    EXPECT_EQ(italic.Font().family(), grid->font().family());
    EXPECT_FALSE(italic.Font().bold());
    EXPECT_TRUE(grid->DisplayFont(0, 3).italic());
    EXPECT_FALSE(grid->DisplayFont(0, 4).italic());

    grid->Table().SetItalic(0, 3, false);  // cleared for the next search
    EXPECT_FALSE(grid->Layers().Resolve(0, 3).font->Font().italic());
    // A row never italic gets no font of its own.
    EXPECT_EQ(grid->Layers().FindEntry(LayerKind::kCell, 0, 4), nullptr);
  }
}

// An italic word is drawn at the size of the words around it in both lists that show
// them, whose letters are larger than the windows' own.
TEST(ProgramGrids, ATableAttachedWithItalicsShowsThem) {
  for (const ProgramGrid which : {ProgramGrid::kPossible, ProgramGrid::kAffix}) {
    SCOPED_TRACE(ProgramGridName(which));
    const auto grid = Make(which);
    CellTable table(2, grid->RowCount());
    table.SetCell(0, 2, "+Ann");
    table.SetItalic(0, 2, true);
    table.SetCell(0, 3, "-ing");
    grid->SetTable(&table);
    EXPECT_TRUE(grid->Layers().Resolve(0, 2).font->Font().italic());
    EXPECT_TRUE(grid->DisplayFont(0, 2).italic());
    EXPECT_EQ(grid->DisplayFont(0, 2).pixelSize(), 16);
    EXPECT_EQ(grid->DisplayFont(0, 3).pixelSize(), 16);
    CellTable plain(2, grid->RowCount());
    grid->SetTable(&plain);
    EXPECT_FALSE(grid->Layers().Resolve(0, 2).font->Font().italic());
    grid->SetTable(nullptr);
  }
}

TEST(ProgramGrids, EveryCarriedDesignIsReadAndWrittenBackUnchanged) {
  const std::pair<ProgramGrid, const char*> grids[] = {
      {ProgramGrid::kPossible, "PossibleGrid"},
      {ProgramGrid::kSelected, "SelectedGrid"},
      {ProgramGrid::kAffix, "AffixGrid"},
      {ProgramGrid::kConverted, "ConvertedGrid"},
      {ProgramGrid::kSelectedAffix, "SelectedAffixGrid"}};
  for (const auto& [which, name] : grids) {
    SCOPED_TRACE(name);
    const auto grid = Make(which);
    // Each grid reads the file of its own name.
    const QString path = QStringLiteral(":/grids/%1.vgd").arg(QLatin1String(name));
    EXPECT_EQ(ProgramGridDesignPath(which), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.errorString().toStdString();
    const QByteArray stored = file.readAll();
    const Result<DesignLayers> read = ReadGridDesign(path);
    ASSERT_TRUE(read.IsOk()) << read.status;
    EXPECT_FALSE(read.value.cols.empty()) << "every grid centres its columns";
    EXPECT_EQ(grid->Design(), read.value);
    EXPECT_EQ(grid->WriteDesignData().value, stored.toStdString()) << "the stored bytes come back";
  }
}

// Collects the warnings that the grid set-up gives while it lives.
class WarningCatcher {
 public:
  WarningCatcher() { previous_ = qInstallMessageHandler(&WarningCatcher::Catch); }
  ~WarningCatcher() { qInstallMessageHandler(previous_); }
  static QStringList& Caught() {
    static QStringList caught;
    return caught;
  }

 private:
  static void Catch(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) {
      Caught() << text;
    }
  }
  QtMessageHandler previous_;
};

TEST(ProgramGrids, ABadOrMissingDesignIsNamedAndLeavesAUsableGrid) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // A column entry for index 70000: the stored form allows 0 to 65535.
  DesignLists lists;
  lists[DesignListId::kPropCol] = {std::int32_t{70000}, std::int32_t{0}};
  const std::string outOfRange = FormatDesignBytes(lists).value;
  std::string carried;
  {
    QFile file(ProgramGridDesignPath(ProgramGrid::kPossible));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    carried = file.readAll().toStdString();
  }
  struct Case {
    const char* name;
    const char* file;  // nullptr: no file at all
    std::string bytes;
    const char* fault;
  };
  const Case cases[] = {
      {"missing", nullptr, "", "No such file"},
      {"empty", "empty.vgd", "", "Design data ends too early"},
      {"cut short", "short.vgd", carried.substr(0, carried.size() / 2),
       "Design data ends too early"},
      {"not design data", "picture.vgd", "GIF89a....", "Not grid design data"},
      {"index out of range", "range.vgd", outOfRange, kRangeCheckError},
      {"far too large", "large.vgd", carried + std::string(70 * 1024, 'E'), "larger than"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QString::fromLatin1(c.file ? c.file : "absent.vgd"));
    if (c.file != nullptr) {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
    }
    WarningCatcher catcher;
    WarningCatcher::Caught().clear();
    const auto grid = MakeProgramGrid(ProgramGrid::kPossible, path);

    ASSERT_EQ(WarningCatcher::Caught().size(), 1)
        << WarningCatcher::Caught().join('\n').toStdString();
    const QString message = WarningCatcher::Caught().front();
    EXPECT_TRUE(message.contains("PossibleGrid")) << message.toStdString();
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromLatin1(c.fault))) << message.toStdString();

    // The grid keeps its size and options and shows and takes texts in plain cells.
    EXPECT_EQ(grid->RowCount(), 5000);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->ColWidth(0), 151);
    EXPECT_TRUE(grid->AutoAdjustLastCol());
    EXPECT_EQ(grid->Design(), DesignLayers{});
    grid->SetCellText(0, 1, QStringLiteral("bat"));
    EXPECT_EQ(grid->CellText(0, 1), QStringLiteral("bat"));
    grid->resize(306, 200);
    EXPECT_FALSE(grid->grab().isNull());
  }
}

// A design may take up to 64 KiB; only a file past that is refused for its size, and the
// message says so only then.
TEST(ProgramGrids, OnlyADesignPastSixtyFourKibibytesIsRefusedForItsSize) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::string carried;
  {
    QFile file(ProgramGridDesignPath(ProgramGrid::kPossible));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    carried = file.readAll().toStdString();
  }
  constexpr std::size_t kLimit = 64 * 1024;
  ASSERT_LT(carried.size(), kLimit);
  for (const std::size_t size : {kLimit - 1, kLimit, kLimit + 1}) {
    SCOPED_TRACE(size);
    const QString path = dir.filePath(QStringLiteral("padded%1.vgd").arg(size));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string bytes = carried + std::string(size - carried.size(), 'E');
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    WarningCatcher catcher;
    WarningCatcher::Caught().clear();
    const auto grid = MakeProgramGrid(ProgramGrid::kPossible, path);
    const QString said = WarningCatcher::Caught().join('\n');
    EXPECT_EQ(said.contains(QStringLiteral("larger than 65536 bytes")), size > kLimit)
        << said.toStdString();
  }
}

// ---- How the grids look --------------------------------------------------------------

double Distance(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
         std::abs(a.blue() - b.blue());
}

// Pixels of an area that differ clearly from its background, taken from the area's
// bottom-left pixel, where text never reaches.
QRect InkBox(const QImage& image, const QRect& area, int* count = nullptr) {
  const QColor background = image.pixelColor(area.left(), area.bottom());
  QRect box;
  int pixels = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (Distance(image.pixelColor(x, y), background) > 90) {
        box |= QRect(x, y, 1, 1);
        ++pixels;
      }
    }
  }
  if (count != nullptr) {
    *count = pixels;
  }
  return box;
}

// The text area of a cell: inside the 2-pixel inset, clear of a header cell's edges.
QRect TextArea(const TLayerGrid& grid, int col, int row) {
  return grid.CellRect(col, row).adjusted(2, 2, -2, -2);
}

QImage Shot(TLayerGrid& grid) {
  return grid.viewport()->grab().toImage();
}

// Shown as in a window whose focus is elsewhere: the current cell shows selected.
void Show(TLayerGrid& grid, QSize size) {
  grid.resize(size);
  grid.show();
  QCoreApplication::processEvents();
  grid.clearFocus();
}

void Fill(TLayerGrid& grid, std::initializer_list<std::pair<const char*, const char*>> rows,
          int firstRow) {
  int row = firstRow;
  for (const auto& [word, digits] : rows) {
    grid.SetCellText(0, row, QString::fromUtf8(word));
    if (grid.ColCount() > 1) {
      grid.SetCellText(1, row, QString::fromUtf8(digits));
    }
    ++row;
  }
}

class GridPictures : public ::testing::Test {
 protected:
  // Pictures of the grids to look at, written only when VANTREL_SHOTS names a folder.
  static void Save(TLayerGrid& grid, const char* name) {
    const QString folder = qEnvironmentVariable("VANTREL_SHOTS");
    if (folder.isEmpty()) {
      return;
    }
    const QString path = QDir(folder).filePath(QString("vantrel-grid-%1.png").arg(name));
    EXPECT_TRUE(grid.grab().save(path)) << path.toStdString();
  }
};

TEST_F(GridPictures, PossibleGrid) {
  const auto grid = Make(ProgramGrid::kPossible);
  Fill(*grid,
       {{"Candidate Word", "Represents"},
        {"bat", "228"},
        {"Boston", "267866"},
        {"cat", "228"},
        {"AT&T", "2828"},
        {"extraordinarily-long-candidate", ""}},
       0);
  grid->Table().SetItalic(0, 2, true);  // class "A"
  Show(*grid, {306, 200});
  Save(*grid, "possible");
  const QImage image = Shot(*grid);

  for (int col : {0, 1}) {
    SCOPED_TRACE(col);
    const QRect header = InkBox(image, TextArea(*grid, col, 0));
    ASSERT_FALSE(header.isEmpty());
    EXPECT_NEAR(header.center().x(), grid->CellRect(col, 0).center().x(), 2) << "centred";
    const QRect digits = InkBox(image, TextArea(*grid, col, 3));
    EXPECT_NEAR(digits.center().x(), grid->CellRect(col, 3).center().x(), 2) << "centred";
  }

  // "&" is drawn as it stands, not taken as a mnemonic marker.
  const QFontMetrics metrics(grid->DisplayFont(0, 4));
  const QRect ampersand = InkBox(image, TextArea(*grid, 0, 4));
  EXPECT_NEAR(ampersand.width(), metrics.boundingRect("AT&T").width(), 3);
  EXPECT_GT(ampersand.width(), metrics.horizontalAdvance("ATT") + 3);

  // A text too long for its cell is cut at the cell's edge, not wrapped: it runs up to
  // both edges (a gap between letters may fall there) and not into its neighbour.
  const QRect cell = grid->CellRect(0, 5);
  const QRect longText = InkBox(image, cell);
  EXPECT_LE(longText.left(), cell.left() + 3);
  EXPECT_GE(longText.right(), cell.right() - 3);
  EXPECT_LT(longText.bottom(), cell.top() + 22) << "one line only";
  EXPECT_TRUE(InkBox(image, grid->CellRect(1, 5)).isEmpty());
}

TEST_F(GridPictures, HeadersAreBoldAndClassAIsItalic) {
  const auto grid = Make(ProgramGrid::kPossible);
  Fill(*grid, {{"Represents", "Represents"}, {"Represents", "Represents"}}, 0);
  Show(*grid, {306, 200});
  grid->FocusCell(1, 1);  // keep the compared cells out of the selection
  const QImage plain = Shot(*grid);
  int header = 0;
  int data = 0;
  InkBox(plain, TextArea(*grid, 0, 0), &header);
  InkBox(plain, TextArea(*grid, 0, 1), &data);
  EXPECT_GT(header, data * 1.15) << "bold takes more ink";

  grid->Table().SetItalic(0, 1, true);
  const QImage italic = Shot(*grid);
  const QRect area = TextArea(*grid, 0, 1);
  EXPECT_NE(plain.copy(area), italic.copy(area));
  EXPECT_EQ(plain.copy(TextArea(*grid, 0, 0)), italic.copy(TextArea(*grid, 0, 0)));
}

// The ink of a cell's text, drawn while the current cell, which shows selected, is the
// other cell of the first row below the header.
int InkOf(TLayerGrid& grid, CellCoord cell) {
  EXPECT_TRUE(grid.FocusCell(1 - cell.col, grid.FixedRows()));
  int ink = 0;
  InkBox(Shot(grid), TextArea(grid, cell.col, cell.row), &ink);
  return ink;
}

// Headers stand out in bold in every grid that has them, and so does the proposed affix
// word, whose column is bold although its row is not.
TEST_F(GridPictures, HeadersAndTheProposedWordAreBold) {
  const struct {
    ProgramGrid which;
    std::vector<CellCoord> bold;
  } cases[] = {
      {ProgramGrid::kPossible, {{0, 0}, {1, 0}}},
      {ProgramGrid::kSelected, {{0, 0}, {1, 0}}},
      {ProgramGrid::kSelectedAffix, {{0, 0}, {1, 0}, {0, 1}}},
  };
  for (const auto& c : cases) {
    const auto grid = Make(c.which);
    SCOPED_TRACE(grid->objectName().toStdString());
    Fill(*grid, {{"Represents", "Represents"}, {"Represents", "Represents"}}, 0);
    Show(*grid, {420, 200});
    const int plain = InkOf(*grid, {1, 1});  // the digits of the first row
    ASSERT_GT(plain, 0);
    for (const CellCoord& cell : c.bold) {
      EXPECT_GT(InkOf(*grid, cell), plain * 1.15) << "column " << cell.col << " row " << cell.row;
    }
  }
}

TEST_F(GridPictures, SelectedGrid) {
  const auto grid = Make(ProgramGrid::kSelected);
  Fill(*grid, {{"Selected Word", "Represents"}, {"bat", "228"}, {"go", "46"}}, 0);
  Show(*grid, {306, 110});
  Save(*grid, "selected");
  const QImage image = Shot(*grid);
  const QRect header = InkBox(image, TextArea(*grid, 0, 0));
  EXPECT_NEAR(header.center().x(), grid->CellRect(0, 0).center().x(), 2);
}

TEST_F(GridPictures, AffixGrid) {
  const auto grid = Make(ProgramGrid::kAffix);
  Fill(*grid,
       {{"-ization-ization", "4928466"},
        {"-ization-ization-ization", "4928466"},
        {"-ing", "464"},
        {"+Ann", "266"},
        {"re-", "73"}},
       0);
  grid->Table().SetItalic(0, 3, true);  // class "A"
  Show(*grid, {185, 160});
  Save(*grid, "affix");

  // Row 0 ends its long text in "..." inside the cell; row 1 cuts it at the edges.
  const QImage image = Shot(*grid);
  // One pixel in from the edges, clear of the focus frame of the current cell.
  const QRect first = grid->CellRect(0, 0);
  const QRect ellipsis = InkBox(image, first.adjusted(1, 1, -1, -1));
  EXPECT_GE(ellipsis.left(), first.left() + 2);
  EXPECT_LE(ellipsis.right(), first.right() - 2);
  EXPECT_GT(ellipsis.width(), first.width() / 2);
  const QRect second = grid->CellRect(0, 1);
  const QRect clipped = InkBox(image, second);
  EXPECT_LE(clipped.left(), second.left() + 1);
  EXPECT_GE(clipped.right(), second.right() - 1);

  // Row 0 is white whatever the grid's background.
  grid->Layers().Background().SetColor(QColor(200, 200, 200));
  const QImage grey = Shot(*grid);
  const QRect digits = grid->CellRect(1, 0);
  EXPECT_EQ(grey.pixelColor(digits.right() - 1, digits.bottom() - 1), QColor(Qt::white));
  const QRect later = grid->CellRect(1, 4);
  EXPECT_EQ(grey.pixelColor(later.right() - 1, later.bottom() - 1), QColor(200, 200, 200));
}

TEST_F(GridPictures, ConvertedGrid) {
  const auto grid = Make(ProgramGrid::kConverted);
  Fill(*grid, {{"4357", ""}, {"43573", ""}}, 0);
  Show(*grid, {240, 110});
  Save(*grid, "converted");
  const QImage image = Shot(*grid);
  const QRect result = InkBox(image, TextArea(*grid, 0, 1));
  EXPECT_NEAR(result.center().x(), grid->CellRect(0, 1).center().x(), 2);
  EXPECT_EQ(grid->ColWidth(0), grid->viewport()->width() - 1) << "stretched";
}

TEST_F(GridPictures, SelectedAffixGrid) {
  const auto grid = Make(ProgramGrid::kSelectedAffix);
  Fill(*grid, {{"Candidate Word", "Represents"}, {"balling", "2255464"}}, 0);
  const int frame = grid->frameWidth();
  Show(*grid, {330, 2 * 25 + 2 * frame});
  Save(*grid, "selectedaffix");
  const QImage image = Shot(*grid);
  const QRect word = InkBox(image, TextArea(*grid, 0, 1));
  EXPECT_NEAR(word.center().x(), grid->CellRect(0, 1).center().x(), 2);
}

}  // namespace
}  // namespace vantrel
