// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayerGrid.h"

#include "CellText.h"
#include "GridClipboard.h"
#include "GridDesign.h"
#include "LayerGridAccessible.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace vantrel {
namespace {

constexpr int kTextInset = 2;
// How far a title is condensed to fit its column, in percent of its width: narrower
// still, letters would run together.
constexpr int kMostCondensed = 80;
constexpr int kHintGap = 6;
constexpr int kSizingSlop = 3;
constexpr int kAutoScrollMs = 60;
constexpr int kHintShowMs = 10000;

// One line cut so that it fits with "..." at its end.
QString EllipsisLine(const QString& line, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(line) <= width) {
    return line;
  }
  const QString dots = QStringLiteral("...");
  qsizetype low = 0;
  qsizetype high = line.size();
  while (low < high) {
    const qsizetype mid = (low + high + 1) / 2;
    if (metrics.horizontalAdvance(line.left(mid) + dots) <= width) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return line.left(low) + dots;
}

QString EllipsisText(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) {
    line = EllipsisLine(line, metrics, width);
  }
  return lines.join(QLatin1Char('\n'));
}

constexpr char kGridIndexError[] = "Grid index out of range";

}  // namespace

class TLayerGrid::TableWatch : public CellTable::Observer {
 public:
  explicit TableWatch(TLayerGrid& grid) : grid_(grid) {}
  void CellChanged(int col, int row) override { grid_.TableCellChanged(col, row); }
  void RowCountChanged(int) override { grid_.TableRowCountChanged(); }
  void CurrentRowChanged(int row) override { grid_.TableCurrentRowChanged(row); }
  void ItalicChanged(int col, int row) override { grid_.TableItalicChanged(col, row); }
  void ColCountChanged(int) override { grid_.TableColCountChanged(); }
  void TableDestroyed() override { grid_.TableDestroyed(); }

 private:
  TLayerGrid& grid_;
};

TLayerGrid::TLayerGrid(QWidget* parent, int colCount, int rowCount)
    : QAbstractScrollArea(parent),
      ownTable_(std::make_unique<CellTable>(colCount, rowCount)),
      watch_(std::make_unique<TableWatch>(*this)),
      layers_([this] { viewport()->update(); }),
      options_(kFixedVertLine | kFixedHorzLine | kVertLine | kHorzLine | kRangeSelect) {
  InstallLayerGridAccessibility();
  accessNotes_ = new GridAccessNotes(*this);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  layers_.GridFont().SetFont(font());

  geometry_.SetFixedCols(1);
  geometry_.SetFixedRows(1);
  layers_.SetFixed(1, 1);
  ApplyLineOptions();

  connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { ScrollTo(value + FixedRows(), LeftCol()); });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { ScrollTo(TopRow(), value + FixedCols()); });
  autoScroll_.setInterval(kAutoScrollMs);
  connect(&autoScroll_, &QTimer::timeout, this, &TLayerGrid::AutoScrollStep);
  hintTimer_.setSingleShot(true);
  connect(&hintTimer_, &QTimer::timeout, this, &TLayerGrid::HideCellHint);

  editor_ = new QLineEdit(viewport());
  editor_->setObjectName(QStringLiteral("cellEditor"));
  editor_->setFrame(false);
  editor_->hide();
  editor_->installEventFilter(this);
  connect(this, &TLayerGrid::ColWidthsChanged, this, &TLayerGrid::PlaceEditor);
  connect(this, &TLayerGrid::TopLeftChanged, this, &TLayerGrid::PlaceEditor);

  AttachTable(ownTable_.get());
}

TLayerGrid::~TLayerGrid() {
  table_->SetObserver(nullptr);
}

void TLayerGrid::SetTable(CellTable* table) {
  AttachTable(table != nullptr ? table : ownTable_.get());
}

void TLayerGrid::AttachTable(CellTable* table) {
  if (table_ != nullptr) {
    table_->SetObserver(nullptr);
  }
  table_ = table;
  table_->SetObserver(watch_.get());
  geometry_.SetColCount(table_->ColCount(), defaultColWidth_);
  cursor_.TakeRow(table_->CurrentRow());
  // Only cells that are italic in the table or have a font of their own can differ, and
  // walking those alone keeps a table of thousands of rows quick to attach.
  std::vector<std::pair<int, int>> cells = layers_.EntryIndexes(LayerKind::kCell);
  const std::vector<std::pair<int, int>> italics = table_->ItalicCells();
  cells.insert(cells.end(), italics.begin(), italics.end());
  for (const auto& [col, row] : cells) {
    if (col < table_->ColCount() && row < table_->RowCount()) {
      TableItalicChanged(col, row);
    }
  }
  Relayout();
  accessNotes_->ColCountChanged();
}

QString TLayerGrid::CellText(int col, int row) const {
  return FromCp1252(Cell(col, row));
}

void TLayerGrid::SetCellText(int col, int row, const QString& text) {
  SetCell(col, row, ToCp1252(text));
}

void TLayerGrid::SetColCount(int count) {
  table_->SetColCount(count);
}

void TLayerGrid::TableColCountChanged() {
  accessNotes_->ColCountChanged();
  geometry_.SetColCount(table_->ColCount(), defaultColWidth_);
  Relayout();
}

void TLayerGrid::TableDestroyed() {
  // The table is half gone: only forget it, and show the grid's own again.
  table_ = nullptr;
  if (ownTable_ != nullptr) {
    AttachTable(ownTable_.get());
  }
}

void TLayerGrid::SetFixedCols(int count) {
  geometry_.SetFixedCols(std::max(count, 0));
  layers_.SetFixed(FixedCols(), FixedRows());
  // New fixed columns start the grid afresh at its first scrollable column.
  Cursor().ResetCol(FixedCols());
  geometry_.SetLeftCol(FixedCols());
  Relayout();
}

void TLayerGrid::SetFixedRows(int count) {
  geometry_.SetFixedRows(std::max(count, 0));
  layers_.SetFixed(FixedCols(), FixedRows());
  Cursor().ResetRow(FixedRows());
  geometry_.SetTopRow(FixedRows());
  Relayout();
}

int TLayerGrid::ColWidth(int col) const {
  if (col < 0 || col >= ColCount()) {
    throw std::out_of_range(kGridIndexError);
  }
  return geometry_.ColWidth(col);
}

void TLayerGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= ColCount()) {
    throw std::out_of_range(kGridIndexError);
  }
  // A width from a hand-edited settings file may be absurd; the grid's arithmetic
  // stays far from overflow.
  width = std::clamp(width, 0, kMaxColWidth);
  if (geometry_.ColWidth(col) == width) {
    return;
  }
  geometry_.SetColWidth(col, width);
  Relayout();
  emit ColWidthsChanged();
}

void TLayerGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(width, 0);
  bool changed = false;
  for (int col = 0; col < ColCount(); ++col) {
    changed = changed || geometry_.ColWidth(col) != defaultColWidth_;
    geometry_.SetColWidth(col, defaultColWidth_);
  }
  if (changed) {
    Relayout();
    emit ColWidthsChanged();
  }
}

void TLayerGrid::SetDefaultRowHeight(int height) {
  height = std::max(height, 1);
  if (height == geometry_.RowHeight()) {
    return;
  }
  geometry_.SetRowHeight(height);
  Relayout();
  emit RowHeightsChanged();
}

void TLayerGrid::SetGridLineWidth(int width) {
  width = std::max(width, 0);
  if (width == geometry_.LineWidth()) {
    return;
  }
  geometry_.SetLineWidth(width);
  Relayout();
  AdjustLastCol();
}

void TLayerGrid::SetOptions(GridOptions options) {
  options_ = options;
  ApplyLineOptions();
  Relayout();
}

void TLayerGrid::ApplyLineOptions() {
  geometry_.SetLines(options_.testFlag(kFixedVertLine), options_.testFlag(kFixedHorzLine),
                     options_.testFlag(kVertLine), options_.testFlag(kHorzLine));
}

void TLayerGrid::SetScrollBars(ScrollBars bars) {
  const bool vertical = bars == ScrollBars::kVertical || bars == ScrollBars::kBoth;
  const bool horizontal = bars == ScrollBars::kHorizontal || bars == ScrollBars::kBoth;
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

bool TLayerGrid::FocusCell(int col, int row, bool byUser) {
  return MoveCurrent(col, row, true, byUser);
}

void TLayerGrid::SetSelection(const CellRange& selection) {
  cursor_.SetSelection(selection);
  viewport()->update();
}

void TLayerGrid::SetTopRow(int row) {
  ScrollTo(row, LeftCol());
}

QFont TLayerGrid::DisplayFont(int col, int row) const {
  return layers_.Resolve(col, row).font->Font();
}

void TLayerGrid::SetDrawSelection(bool draw) {
  drawSelection_ = draw;
  viewport()->update();
}

bool TLayerGrid::CanEditCell(int col, int row) const {
  return options_.testFlag(kEditing) && !geometry_.IsFixed(col, row) &&
         layers_.Resolve(col, row).editable;
}

void TLayerGrid::SetAutoAdjustLastCol(bool on) {
  autoAdjustLastCol_ = on;
  AdjustLastCol();
}

void TLayerGrid::AdjustLastCol() {
  if (!autoAdjustLastCol_) {
    return;
  }
  if (const std::optional<int> width = geometry_.StretchedLastWidth()) {
    SetColWidth(ColCount() - 1, *width);
  }
}

QString TLayerGrid::CellHint(int col, int row) const {
  const auto it = cellHints_.find(CellKey(col, row));
  return it == cellHints_.end() ? QString() : it->second;
}

void TLayerGrid::SetCellHint(int col, int row, const QString& hint) {
  if (hint.isEmpty()) {
    cellHints_.erase(CellKey(col, row));
  } else {
    cellHints_[CellKey(col, row)] = hint;
  }
}

QString TLayerGrid::SelectionText() const {
  return FromCp1252(vantrel::SelectionText(*table_, Selection()));
}

void TLayerGrid::CopyToClipboard() {
  QGuiApplication::clipboard()->setText(SelectionText());
}

void TLayerGrid::CutToClipboard() {
  CopyToClipboard();
  ClearSelection(*table_, Selection());
}

void TLayerGrid::PasteFromClipboard() {
  PasteText(QGuiApplication::clipboard()->text());
}

void TLayerGrid::PasteText(const QString& text) {
  PasteIntoTable(*table_, Selection(), ToCp1252(text));
}

Result<std::string> TLayerGrid::WriteDesignData() const {
  return FormatDesignData(Design());
}

void TLayerGrid::ApplyDesign(const DesignLayers& design) {
  ApplyDesignLayers(layers_, design);
}

DesignLayers TLayerGrid::Design() const {
  return ExtractDesignLayers(layers_, ColCount(), RowCount());
}

void TLayerGrid::TableCellChanged(int col, int row) {
  UpdateCell(col, row);
  accessNotes_->CellChanged(col, row);
}

void TLayerGrid::TableItalicChanged(int col, int row) {
  // Italics live in the cell's own font, as CellFont gives it, so that a column or row font
  // cannot take them away: the cell's entry comes first in every resolution.
  if (col < 0 || row < 0 || col > kMaxDesignIndex || row > kMaxDesignIndex) {
    return;
  }
  const bool italic = table_->Italic(col, row);
  const TCellProperties* entry = layers_.FindEntry(LayerKind::kCell, col, row);
  if (!italic && (entry == nullptr || entry->Font() == nullptr)) {
    return;  // nothing to take off; no entry is made for it
  }
  TLayerFont& font = layers_.CellFont(col, row);
  if (((font.Style() & kItalic) != 0) != italic) {
    font.SetItalic(italic);
  }
}

void TLayerGrid::TableRowCountChanged() {
  accessNotes_->RowCountChanged(geometry_.RowCount());
  Relayout();
}

void TLayerGrid::TableCurrentRowChanged(int row) {
  if (row == Row()) {
    return;
  }
  // The table's current row is always the grid's: a row the grid cannot make current
  // is put back.
  if (!MoveCurrent(Col(), row, true, false)) {
    table_->SetCurrentRow(Row());
  }
}

void TLayerGrid::Relayout() {
  geometry_.SetRowCount(table_->RowCount());
  ClampCurrent();
  // Scrolling to where the grid stands brings the top row and left column back in range.
  ScrollTo(TopRow(), LeftCol());
  UpdateScrollBars();
  viewport()->update();
}

GridCursor& TLayerGrid::Cursor() {
  // The table may change its row count before the grid hears of it; the cursor counts
  // what the table holds now.
  cursor_.SetBounds(FixedCols(), FixedRows(), ColCount(), RowCount());
  cursor_.SetRangeSelect(options_.testFlag(kRangeSelect));
  cursor_.SetRowSelect(options_.testFlag(kRowSelect));
  return cursor_;
}

void TLayerGrid::ClampCurrent() {
  if (Cursor().Clamp()) {
    accessNotes_->CurrentChanged();
  }
  if (table_->CurrentRow() != Row()) {
    table_->SetCurrentRow(Row());
  }
}

void TLayerGrid::UpdateScrollBars() {
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, geometry_.MaxTopRow() - FixedRows());
  vertical->setPageStep(geometry_.RowsThatFit());
  vertical->setSingleStep(1);
  vertical->setValue(TopRow() - FixedRows());
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(geometry_.MaxLeftCol() - FixedCols(), 0));
  horizontal->setPageStep(1);
  horizontal->setSingleStep(1);
  horizontal->setValue(LeftCol() - FixedCols());
}

void TLayerGrid::ScrollTo(int topRow, int leftCol) {
  const int oldTop = TopRow();
  const int oldLeft = LeftCol();
  geometry_.SetTopRow(topRow);
  geometry_.SetLeftCol(leftCol);
  geometry_.ClampScroll();
  if (TopRow() == oldTop && LeftCol() == oldLeft) {
    return;
  }
  verticalScrollBar()->setValue(TopRow() - FixedRows());
  horizontalScrollBar()->setValue(LeftCol() - FixedCols());
  HideCellHint();
  viewport()->update();
  emit TopLeftChanged();
}

void TLayerGrid::ScrollInView(int col, int row) {
  int top = TopRow();
  int left = LeftCol();
  if (row >= FixedRows()) {
    const int fit = geometry_.RowsThatFit();
    if (row < top) {
      top = row;
    } else if (row >= top + fit) {
      top = row - fit + 1;
    }
  }
  if (col >= FixedCols()) {
    if (col < left) {
      left = col;
    } else {
      // Move the left column on until the column's right edge is on screen.
      const int free = geometry_.ClientWidth() - geometry_.FixedWidth();
      int used = 0;
      for (int c = left; c <= col; ++c) {
        used += c == col ? geometry_.ColWidth(c) : geometry_.ColPitch(c);
      }
      while (left < col && used > free) {
        used -= geometry_.ColPitch(left);
        ++left;
      }
    }
  }
  ScrollTo(top, left);
}

bool TLayerGrid::MoveCurrent(int col, int row, bool moveAnchor, bool byUser) {
  if (!Cursor().IsSelectable(col, row)) {
    return false;
  }
  if (onSelectCell_ && !onSelectCell_(col, row)) {
    return false;
  }
  Cursor().MoveTo({col, row}, !moveAnchor);
  accessNotes_->CurrentChanged();
  ScrollInView(col, row);
  if (table_->CurrentRow() != row) {
    table_->SetCurrentRow(row);
  }
  viewport()->update();
  if (byUser) {
    emit Click();
  }
  return true;
}

void TLayerGrid::UpdateCell(int col, int row) {
  const QRect rect = CellRect(col, row);
  if (!rect.isEmpty() && rect.intersects(viewport()->rect())) {
    viewport()->update(rect);
  }
}

bool TLayerGrid::IsSelectedForPaint(int col, int row) const {
  // The current cell shows selected in the focused grid too: a dotted outline alone, with
  // the highlight on a row of another grid, would point the eye to the wrong list.
  return drawSelection_ && !geometry_.IsFixed(col, row) && Selection().Contains(col, row);
}

QColor TLayerGrid::SelectionColor(const QColor& resolved, QPalette::ColorRole role) const {
  // Only the grid the keyboard is in shows the desktop's bright highlight; the others show
  // theirs in its inactive colour, as item views do. Colours of the grid's own design stay.
  const QPalette& colors = palette();
  if (hasFocus() || resolved != colors.color(QPalette::Active, role)) {
    return resolved;
  }
  const QColor inactive = colors.color(QPalette::Inactive, role);
  if (inactive != resolved) {
    return inactive;
  }
  // A desktop whose inactive highlight is its active one (Fusion's) would show every
  // grid's selection alike, and the eye could not tell which list the keys move in: the
  // others then show a highlight halfway to the background, with plain text.
  if (role == QPalette::Highlight) {
    const QColor base = colors.color(QPalette::Base);
    return QColor((resolved.red() + base.red()) / 2, (resolved.green() + base.green()) / 2,
                  (resolved.blue() + base.blue()) / 2);
  }
  return colors.color(QPalette::Text);
}

void TLayerGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  painter.fillRect(dirty, layers_.Background().Brush().color());

  const int lastRow = geometry_.LastVisibleRow();
  const int lastCol = geometry_.LastVisibleCol();
  const int fixedCols = std::min(FixedCols(), ColCount());
  const int firstCol = std::max(LeftCol(), FixedCols());
  auto paintRow = [&](int row) {
    const std::optional<int> top = geometry_.RowTop(row);
    if (!top || *top > dirty.bottom() || *top + geometry_.RowPitch(row) <= dirty.top()) {
      return;
    }
    auto paintCol = [&](int col) {
      const QRect rect = geometry_.CellRect(col, row);
      const QRect withLines(rect.topLeft(),
                            QSize(geometry_.ColPitch(col), geometry_.RowPitch(row)));
      if (withLines.intersects(dirty)) {
        PaintCell(painter, col, row, rect);
        PaintLines(painter, col, row, rect);
      }
    };
    for (int col = 0; col < fixedCols; ++col) {
      paintCol(col);
    }
    for (int col = firstCol; col <= lastCol; ++col) {
      paintCol(col);
    }
  };
  for (int row = 0; row < std::min(FixedRows(), RowCount()); ++row) {
    paintRow(row);
  }
  for (int row = std::max(TopRow(), FixedRows()); row <= lastRow; ++row) {
    paintRow(row);
  }

  if (mouseState_ == MouseState::kSizing) {
    painter.fillRect(QRect(sizingX_, 0, 2, viewport()->height()),
                     palette().color(QPalette::Shadow));
  }
}

void TLayerGrid::PaintCell(QPainter& painter, int col, int row, const QRect& rect) {
  ResolvedCell cell;
  layers_.Resolve(col, row, cell);
  const bool fixed = geometry_.IsFixed(col, row);
  const bool selected = IsSelectedForPaint(col, row);

  const QColor selectedText =
      selected ? SelectionColor(cell.selectedText, QPalette::HighlightedText) : QColor();
  const QBrush& brush = *cell.brush;
  if (brush.style() != Qt::NoBrush) {
    if (selected) {
      painter.fillRect(rect, QBrush(SelectionColor(cell.selectedBackground, QPalette::Highlight),
                                    brush.style()));
    } else {
      painter.fillRect(rect, brush);
    }
  }
  if (fixed) {
    // Fixed cells stand out like buttons: a light edge at the top and left, a shadow
    // at the bottom and right.
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1),
                     palette().color(QPalette::Light));
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()),
                     palette().color(QPalette::Light));
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1),
                     palette().color(QPalette::Mid));
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()),
                     palette().color(QPalette::Mid));
  }

  const std::string& bytes = table_->Cell(col, row);
  if (!bytes.empty()) {
    QString text = FromCp1252(bytes);
    if (text.contains(QLatin1Char('\r'))) {
      text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    const QRect textRect = rect.adjusted(kTextInset, kTextInset, -kTextInset, -kTextInset);
    QFont font = cell.font->Font();
    if (fixed && cell.wordwrap != ww_wordwrap && !text.contains(QLatin1Char('\n'))) {
      // A title a little too wide for its column (a German or French one at the design
      // width, or the design font's stand-in a little wider than the original) is drawn
      // condensed to fit, down to kMostCondensed percent of its width, rather than cut.
      // A font with condensed faces of its own jumps between them, so the fit is
      // measured again after each step.
      int stretch = 100;
      int width = QFontMetrics(font).horizontalAdvance(text);
      while (width > textRect.width() && stretch > kMostCondensed) {
        stretch = std::max(kMostCondensed,
                           std::min(stretch - 1, stretch * (textRect.width() - 1) / width));
        font.setStretch(stretch);
        width = QFontMetrics(font).horizontalAdvance(text);
      }
    }
    painter.setFont(font);
    painter.setPen(selected ? selectedText : cell.font->Color());

    // Text starts at the top; "&" is drawn as it stands, since no mnemonic flag is given.
    int flags = Qt::AlignTop | Qt::TextDontClip;
    switch (cell.align) {
      case alRight:
        flags |= Qt::AlignRight;
        break;
      case alCenter:
        flags |= Qt::AlignHCenter;
        break;
      default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (cell.wordwrap == ww_wordwrap) {
      flags |= Qt::TextWordWrap;
    } else if (cell.wordwrap == ww_ellipsis) {
      text = EllipsisText(text, painter.fontMetrics(), textRect.width());
    }
    // A text too long for its cell is cut at the cell's edges, a title in a fixed cell
    // that even condensed does not fit as any other: it keeps its alignment, so a centred
    // title too wide for its column shows its middle, and widening the column brings back
    // the whole of it.
    painter.setClipRect(rect);
    painter.drawText(textRect, flags, text);
    painter.setClipping(false);
  }

  if (!fixed && hasFocus() && cursor_.IsCurrent(col, row) && !options_.testFlag(kRowSelect)) {
    painter.setPen(QPen(selected ? selectedText : palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
  }
}

void TLayerGrid::PaintLines(QPainter& painter, int col, int row, const QRect& rect) {
  const int vertical = geometry_.ColPitch(col) - rect.width();
  const int horizontal = geometry_.RowPitch(row) - rect.height();
  const QColor color = geometry_.IsFixed(col, row) ? palette().color(QPalette::Dark)
                                                   : palette().color(QPalette::Midlight);
  if (vertical > 0) {
    painter.fillRect(QRect(rect.right() + 1, rect.top(), vertical, rect.height() + horizontal),
                     color);
  }
  if (horizontal > 0) {
    painter.fillRect(QRect(rect.left(), rect.bottom() + 1, rect.width(), horizontal), color);
  }
}

void TLayerGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  geometry_.SetClientSize(viewport()->width(), viewport()->height());
  Relayout();
  AdjustLastCol();
  PlaceEditor();
}

int TLayerGrid::SizingColumnAt(QPoint point) const {
  if (!options_.testFlag(kColSizing)) {
    return -1;
  }
  // With header rows, borders are dragged in the header only, so a press on a data
  // row always selects.
  if (FixedRows() > 0 && point.y() >= geometry_.FixedHeight()) {
    return -1;
  }
  return geometry_.ColBorderAt(point.x(), kSizingSlop);
}

void TLayerGrid::mousePressEvent(QMouseEvent* event) {
  HideCellHint();
  const QPoint point = event->position().toPoint();
  lastMousePoint_ = point;
  if (!hasFocus()) {
    setFocus(Qt::MouseFocusReason);
  }
  if (event->button() == Qt::LeftButton) {
    const int border = SizingColumnAt(point);
    if (border >= 0) {
      mouseState_ = MouseState::kSizing;
      sizingCol_ = border;
      sizingX_ = point.x();
      viewport()->update();
    } else {
      const CellCoord cell = CellAt(point);
      if (cell.Valid() && !geometry_.IsFixed(cell.col, cell.row)) {
        const bool extend = Cursor().Extends(event->modifiers().testFlag(Qt::ShiftModifier));
        MoveCurrent(cell.col, cell.row, !extend, true);
        mouseState_ = MouseState::kSelecting;
      }
    }
  }
  emit MouseDown(event->button(), event->modifiers(), point);
}

void TLayerGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  lastMousePoint_ = point;
  switch (mouseState_) {
    case MouseState::kSizing:
      sizingX_ = std::max(point.x(), geometry_.ColLeft(sizingCol_).value_or(0));
      viewport()->update();
      return;
    case MouseState::kSelecting:
      DragSelectTo(point);
      return;
    case MouseState::kNone:
      break;
  }
  if (SizingColumnAt(point) >= 0) {
    viewport()->setCursor(Qt::SplitHCursor);
  } else {
    viewport()->unsetCursor();
  }
  if (hintCell_.Valid() && CellAt(point) != hintCell_) {
    HideCellHint();
  }
}

void TLayerGrid::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  autoScroll_.stop();
  if (event->button() == Qt::LeftButton) {
    const MouseState state = mouseState_;
    mouseState_ = MouseState::kNone;
    if (state == MouseState::kSizing) {
      viewport()->update();
      const int left = geometry_.ColLeft(sizingCol_).value_or(0);
      SetColWidth(sizingCol_, sizingX_ - left);
    }
  }
  emit MouseUp(event->button(), event->modifiers(), point);
  AdjustLastCol();
}

void TLayerGrid::DragSelectTo(QPoint point) {
  const bool outside = point.y() < geometry_.FixedHeight() ||
                       point.y() >= geometry_.ClientHeight() ||
                       point.x() < geometry_.FixedWidth() || point.x() >= geometry_.ClientWidth();
  if (outside && !autoScroll_.isActive()) {
    autoScroll_.start();
  } else if (!outside) {
    autoScroll_.stop();
  }
  const QPoint inside(std::clamp(point.x(), geometry_.FixedWidth(), geometry_.ClientWidth() - 1),
                      std::clamp(point.y(), geometry_.FixedHeight(), geometry_.ClientHeight() - 1));
  const CellCoord cell = CellAt(inside);
  if (cell.Valid() && cell != cursor_.Current()) {
    MoveCurrent(cell.col, cell.row, false, true);
  }
}

void TLayerGrid::AutoScrollStep() {
  if (mouseState_ != MouseState::kSelecting) {
    autoScroll_.stop();
    return;
  }
  int top = TopRow();
  int left = LeftCol();
  if (lastMousePoint_.y() >= geometry_.ClientHeight()) {
    ++top;
  } else if (lastMousePoint_.y() < geometry_.FixedHeight()) {
    --top;
  }
  if (lastMousePoint_.x() >= geometry_.ClientWidth()) {
    ++left;
  } else if (lastMousePoint_.x() < geometry_.FixedWidth()) {
    --left;
  }
  ScrollTo(top, left);
  DragSelectTo(lastMousePoint_);
}

void TLayerGrid::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                           Qt::AltModifier | Qt::MetaModifier);
  const int key = event->key();
  if (key == Qt::Key_Insert && mods == Qt::ControlModifier) {
    CopyToClipboard();
    return;
  }
  if (key == Qt::Key_Delete && mods == Qt::ShiftModifier) {
    CutToClipboard();
    return;
  }
  if (key == Qt::Key_Insert && mods == Qt::ShiftModifier) {
    PasteFromClipboard();
    return;
  }
  if (StartEditByKey(event)) {
    return;
  }
  if (IsPickKey(*event)) {
    emit RowPicked(Row());
    return;
  }

  using Key = GridCursor::Key;
  const bool control = mods.testFlag(Qt::ControlModifier);
  Key move = Key::kUp;
  switch (key) {
    case Qt::Key_Up:
      move = Key::kUp;
      break;
    case Qt::Key_Down:
      move = Key::kDown;
      break;
    case Qt::Key_Left:
      move = Key::kLeft;
      break;
    case Qt::Key_Right:
      move = Key::kRight;
      break;
    case Qt::Key_PageUp:
      move = Key::kPageUp;
      break;
    case Qt::Key_PageDown:
      move = Key::kPageDown;
      break;
    case Qt::Key_Home:
      move = control ? Key::kFirstRow : Key::kHome;
      break;
    case Qt::Key_End:
      move = control ? Key::kLastRow : Key::kEnd;
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  const CellCoord target = Cursor().KeyTarget(move, geometry_.RowsThatFit());
  if (target != cursor_.Current()) {
    const bool extend = cursor_.Extends(mods.testFlag(Qt::ShiftModifier));
    // The keyboard brings the row into view first: a window that lets only rows on
    // screen become current must not keep the keyboard on the first page.
    ScrollInView(target.col, target.row);
    MoveCurrent(target.col, target.row, !extend, true);
  }
  event->accept();
}

bool TLayerGrid::IsPickKey(const QKeyEvent& event) const {
  const int key = event.key();
  return pickKeys_ && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
         (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}

void TLayerGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    layers_.GridFont().SetFont(font());
  } else if (event->type() == QEvent::PaletteChange) {
    layers_.RefreshColors();
  }
  QAbstractScrollArea::changeEvent(event);
}

void TLayerGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
  accessNotes_->FocusGained();
}

void TLayerGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

bool TLayerGrid::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ToolTip: {
      const auto* help = static_cast<QHelpEvent*>(event);
      ShowHintAt(help->pos(), help->globalPos());
      return true;
    }
    case QEvent::Leave:
      HideCellHint();
      break;
    default:
      break;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

bool TLayerGrid::event(QEvent* event) {
  // Over the scroll bars and the frame only the grid's own hint can show, and only
  // when cell hints are off.
  if (event->type() == QEvent::ToolTip && (showCellHints_ || !showHint_)) {
    QToolTip::hideText();
    return true;
  }
  // Space and Enter go to the grid, not to the window's shortcuts or default button.
  if (event->type() == QEvent::ShortcutOverride && IsPickKey(*static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void TLayerGrid::ShowHintAt(const QPoint& point, const QPoint& globalPoint) {
  if (!showCellHints_) {
    if (showHint_ && !toolTip().isEmpty()) {
      QToolTip::showText(globalPoint, toolTip(), viewport());
    } else {
      QToolTip::hideText();
    }
    return;
  }
  const CellCoord cell = CellAt(point);
  if (!cell.Valid()) {
    HideCellHint();
    return;
  }
  QString text = CellHint(cell.col, cell.row);
  const QRect rect = CellRect(cell.col, cell.row);
  QPoint place(rect.left(), rect.top() + rect.height() + kHintGap);
  if (onShowHintCell_) {
    onShowHintCell_(cell.col, cell.row, text, place);
  }
  if (text.isEmpty()) {
    HideCellHint();
    return;
  }
  if (hintLabel_ == nullptr) {
    hintLabel_ = new QLabel(this, Qt::ToolTip);
    hintLabel_->setObjectName(QStringLiteral("cellHint"));
    hintLabel_->setTextFormat(Qt::PlainText);
    hintLabel_->setForegroundRole(QPalette::ToolTipText);
    hintLabel_->setBackgroundRole(QPalette::ToolTipBase);
    hintLabel_->setAutoFillBackground(true);
    hintLabel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    hintLabel_->setMargin(2);
  }
  hintLabel_->setText(text);
  hintLabel_->adjustSize();
  hintLabel_->move(viewport()->mapToGlobal(place));
  hintLabel_->show();
  hintCell_ = cell;
  hintTimer_.start(kHintShowMs);
}

void TLayerGrid::HideCellHint() {
  if (hintLabel_ != nullptr) {
    hintLabel_->hide();
  }
  hintCell_ = {};
  hintTimer_.stop();
}

}  // namespace vantrel
