// SPDX-License-Identifier: GPL-3.0-or-later
#include "CellProperties.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace vantrel {
namespace {

// The stored fonts name "MS Sans Serif", a Windows font that Linux lacks. Left to itself,
// fontconfig takes its default sans, a good fifth wider, and the German and French column
// titles no longer fit the design widths; the free fonts with Arial's metrics come closest.
// Where none is installed the default stays.
void SubstituteWindowsFonts() {
  static const bool substituted = [] {
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")});
    return true;
  }();
  static_cast<void>(substituted);
}

struct SystemColor {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The system colours of the stored data, by index, as this platform's palette has them.
constexpr std::array<SystemColor, 31> kSystemColors = {{
    {QPalette::Active, QPalette::Button},           // 0 scroll bar
    {QPalette::Active, QPalette::Dark},             // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid},            // 3 inactive caption
    {QPalette::Active, QPalette::Window},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Button},           // 10 active border
    {QPalette::Inactive, QPalette::Button},         // 11 inactive border
    {QPalette::Active, QPalette::Mid},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlight text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::Text},           // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 info background
    {QPalette::Active, QPalette::Button},           // 25 unused
    {QPalette::Active, QPalette::Link},             // 26 hot light
    {QPalette::Active, QPalette::Highlight},        // 27 gradient active caption
    {QPalette::Inactive, QPalette::Mid},            // 28 gradient inactive caption
    {QPalette::Active, QPalette::Highlight},        // 29 menu highlight
    {QPalette::Active, QPalette::Window},           // 30 menu bar
}};

Qt::BrushStyle QtBrushStyle(int style) {
  switch (style) {
    case kClear:
      return Qt::NoBrush;
    case kHorizontal:
      return Qt::HorPattern;
    case kVertical:
      return Qt::VerPattern;
    case kFDiagonal:
      return Qt::FDiagPattern;
    case kBDiagonal:
      return Qt::BDiagPattern;
    case kCross:
      return Qt::CrossPattern;
    case kDiagCross:
      return Qt::DiagCrossPattern;
    default:
      return Qt::SolidPattern;
  }
}

std::uint8_t StyleOf(const QFont& font) {
  std::uint8_t style = 0;
  if (font.bold()) {
    style |= kBold;
  }
  if (font.italic()) {
    style |= kItalic;
  }
  if (font.underline()) {
    style |= kUnderline;
  }
  if (font.strikeOut()) {
    style |= kStrikeOut;
  }
  return style;
}

}  // namespace

QColor ColorFromRef(StoredColor ref) {
  const auto bits = static_cast<std::uint32_t>(ref);
  if ((bits & 0x80000000u) != 0) {
    const std::uint32_t index = bits & 0xFFu;
    if (index >= kSystemColors.size()) {
      return QColor(Qt::black);
    }
    const SystemColor& system = kSystemColors[index];
    return QGuiApplication::palette().color(system.group, system.role);
  }
  return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                static_cast<int>((bits >> 16) & 0xFFu));
}

StoredColor RefFromColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<StoredColor>((rgb.blue() << 16) | (rgb.green() << 8) | rgb.red());
}

TLayerFont::TLayerFont() : TLayerFont(QGuiApplication::font(), kSysWindowText) {}

TLayerFont::TLayerFont(const QFont& font, StoredColor color)
    : font_(font), color_(ColorFromRef(color)), colorRef_(color) {
  height_ = font.pixelSize() > 0 ? -font.pixelSize() : -QFontInfo(font).pixelSize();
  pitch_ = font.fixedPitch() ? 1 : 0;
  style_ = StyleOf(font);
}

TLayerFont::TLayerFont(StoredColor color, int height, const QString& name, int pitch,
                       std::uint8_t style)
    : font_(QGuiApplication::font()),
      color_(ColorFromRef(color)),
      colorRef_(color),
      height_(height),
      pitch_(pitch),
      style_(style) {
  SubstituteWindowsFonts();
  font_.setFamily(name);
  font_.setFixedPitch(pitch == 1);
  ApplyHeight();
  ApplyStyle();
}

TLayerFont::TLayerFont(const TLayerFont& other)
    : font_(other.font_),
      color_(other.color_),
      colorRef_(other.colorRef_),
      height_(other.height_),
      pitch_(other.pitch_),
      style_(other.style_) {}

TLayerFont& TLayerFont::operator=(const TLayerFont& other) {
  if (this != &other) {
    font_ = other.font_;
    color_ = other.color_;
    colorRef_ = other.colorRef_;
    height_ = other.height_;
    pitch_ = other.pitch_;
    style_ = other.style_;
    Changed();
  }
  return *this;
}

void TLayerFont::SetColorRef(StoredColor color) {
  colorRef_ = color;
  color_ = ColorFromRef(color);
  Changed();
}

void TLayerFont::SetHeight(int height) {
  height_ = height;
  ApplyHeight();
  Changed();
}

void TLayerFont::SetName(const QString& name) {
  SubstituteWindowsFonts();
  font_.setFamily(name);
  Changed();
}

void TLayerFont::SetPitch(int pitch) {
  pitch_ = pitch;
  font_.setFixedPitch(pitch == 1);
  Changed();
}

void TLayerFont::SetStyle(std::uint8_t style) {
  style_ = style;
  ApplyStyle();
  Changed();
}

void TLayerFont::SetItalic(bool italic) {
  SetStyle(italic ? (style_ | kItalic) : (style_ & ~kItalic));
}

void TLayerFont::SetFont(const QFont& font) {
  *this = TLayerFont(font, colorRef_);
}

void TLayerFont::RefreshColor() {
  color_ = ColorFromRef(colorRef_);
}

void TLayerFont::ApplyStyle() {
  font_.setBold((style_ & kBold) != 0);
  font_.setItalic((style_ & kItalic) != 0);
  font_.setUnderline((style_ & kUnderline) != 0);
  font_.setStrikeOut((style_ & kStrikeOut) != 0);
}

void TLayerFont::ApplyHeight() {
  // A positive height counts the internal leading too; a pixel size is near enough.
  if (height_ != 0) {
    font_.setPixelSize(height_ < 0 ? -height_ : height_);
  }
}

void TLayerFont::Changed() {
  if (listener_ != nullptr) {
    listener_->LayerChanged();
  }
}

TLayerBrush::TLayerBrush(StoredColor color, int style) : colorRef_(color), style_(style) {
  Rebuild();
}

TLayerBrush::TLayerBrush(const TLayerBrush& other)
    : brush_(other.brush_), colorRef_(other.colorRef_), style_(other.style_) {}

TLayerBrush& TLayerBrush::operator=(const TLayerBrush& other) {
  if (this != &other) {
    brush_ = other.brush_;
    colorRef_ = other.colorRef_;
    style_ = other.style_;
    Changed();
  }
  return *this;
}

void TLayerBrush::SetColorRef(StoredColor color) {
  colorRef_ = color;
  Rebuild();
  Changed();
}

void TLayerBrush::SetStyle(int style) {
  style_ = style;
  Rebuild();
  Changed();
}

void TLayerBrush::RefreshColor() {
  Rebuild();
}

void TLayerBrush::Rebuild() {
  brush_ = QBrush(ColorFromRef(colorRef_), QtBrushStyle(style_));
}

void TLayerBrush::Changed() {
  if (listener_ != nullptr) {
    listener_->LayerChanged();
  }
}

void TCellProperties::SetAlign(TCellAlign align) {
  align_ = align;
  Changed();
}

void TCellProperties::SetWordwrap(TCellWordwrap wordwrap) {
  wordwrap_ = wordwrap;
  Changed();
}

void TCellProperties::SetEditable(std::uint8_t editable) {
  editable_ = editable;
  Changed();
}

bool TCellProperties::Empty() const {
  return align_ == alDefault && wordwrap_ == ww_default && editable_ == kEditableNotSet &&
         !brush_ && !selectedBrush_ && !font_ && !selectedFont_;
}

void TCellProperties::RefreshColors() {
  for (TLayerBrush* brush : {brush_.get(), selectedBrush_.get()}) {
    if (brush != nullptr) {
      brush->RefreshColor();
    }
  }
  for (TLayerFont* font : {font_.get(), selectedFont_.get()}) {
    if (font != nullptr) {
      font->RefreshColor();
    }
  }
}

void TCellProperties::Changed() {
  if (grid_ != nullptr) {
    grid_->LayerChanged();
  }
}

}  // namespace vantrel
