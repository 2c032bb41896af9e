// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One entry of a grid's appearance layers (TCellProperties) with the fonts and brushes
// it owns. Every change repaints the owning grid through its LayerListener.

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <memory>

namespace vantrel {

enum TCellAlign : std::uint8_t { alRight = 0, alLeft = 1, alCenter = 2, alDefault = 3 };
enum TCellWordwrap : std::uint8_t { ww_none = 0, ww_wordwrap = 1, ww_ellipsis = 2, ww_default = 3 };

// Font style bits, as stored.
enum FontStyle : std::uint8_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

// Brush styles, as stored.
enum BrushStyle : std::uint8_t {
  kSolid = 0,
  kClear = 1,
  kHorizontal = 2,
  kVertical = 3,
  kFDiagonal = 4,
  kBDiagonal = 5,
  kCross = 6,
  kDiagCross = 7,
};

// Editable values of an entry.
inline constexpr std::uint8_t kEditableNotSet = 0;
inline constexpr std::uint8_t kNotEditable = 1;
inline constexpr std::uint8_t kEditable = 2;

// A colour as stored: 0x00BBGGRR, or with the top bit set a system colour whose index is
// the low byte. Keeping the reference, not only the colour, lets design data be written
// back as it was read, and lets system colours follow the palette.
using StoredColor = std::int32_t;
inline constexpr StoredColor kSysActiveCaption = -2147483646;  // 0x80000002
inline constexpr StoredColor kSysWindow = -2147483643;         // 0x80000005
inline constexpr StoredColor kSysWindowText = -2147483640;     // 0x80000008
inline constexpr StoredColor kSysBtnFace = -2147483633;        // 0x8000000F
inline constexpr StoredColor kBlack = 0x000000;
inline constexpr StoredColor kWhite = 0xFFFFFF;

// System colours come from the application's palette; an index without a meaning gives
// black.
QColor ColorFromRef(StoredColor ref);
StoredColor RefFromColor(const QColor& color);

class LayerListener {
 public:
  virtual void LayerChanged() = 0;

 protected:
  ~LayerListener() = default;
};

// A font with its colour. Copies take the look, never the listener.
class TLayerFont {
 public:
  TLayerFont();
  TLayerFont(const QFont& font, StoredColor color);
  // A font as stored: colour, height, name, pitch and style.
  TLayerFont(StoredColor color, int height, const QString& name, int pitch, std::uint8_t style);
  TLayerFont(const TLayerFont& other);
  TLayerFont& operator=(const TLayerFont& other);

  const QFont& Font() const { return font_; }
  const QColor& Color() const { return color_; }
  StoredColor ColorRef() const { return colorRef_; }
  int Height() const { return height_; }
  QString Name() const { return font_.family(); }
  int Pitch() const { return pitch_; }
  std::uint8_t Style() const { return style_; }

  void SetColor(const QColor& color) { SetColorRef(RefFromColor(color)); }
  void SetColorRef(StoredColor color);
  void SetHeight(int height);
  void SetName(const QString& name);
  void SetPitch(int pitch);
  void SetStyle(std::uint8_t style);
  void SetItalic(bool italic);
  // Takes every attribute of the font but keeps the colour.
  void SetFont(const QFont& font);

  // Looks up a system colour again after the palette has changed.
  void RefreshColor();
  void SetListener(LayerListener* listener) { listener_ = listener; }

 private:
  void ApplyStyle();
  void ApplyHeight();
  void Changed();

  QFont font_;
  QColor color_;
  StoredColor colorRef_ = kSysWindowText;
  int height_ = 0;
  int pitch_ = 0;
  std::uint8_t style_ = 0;
  LayerListener* listener_ = nullptr;
};

// A brush: colour and style. Copies take the look, never the listener.
class TLayerBrush {
 public:
  TLayerBrush() : TLayerBrush(kWhite, kSolid) {}
  TLayerBrush(StoredColor color, int style);
  TLayerBrush(const TLayerBrush& other);
  TLayerBrush& operator=(const TLayerBrush& other);

  const QBrush& Brush() const { return brush_; }
  QColor Color() const { return brush_.color(); }
  StoredColor ColorRef() const { return colorRef_; }
  int Style() const { return style_; }

  void SetColor(const QColor& color) { SetColorRef(RefFromColor(color)); }
  void SetColorRef(StoredColor color);
  void SetStyle(int style);

  void RefreshColor();
  void SetListener(LayerListener* listener) { listener_ = listener; }

 private:
  void Rebuild();
  void Changed();

  QBrush brush_;
  StoredColor colorRef_ = kWhite;
  int style_ = kSolid;
  LayerListener* listener_ = nullptr;
};

// One entry of a layer. Fonts and brushes are owned and copied in, never shared.
class TCellProperties {
 public:
  explicit TCellProperties(LayerListener* grid = nullptr) : grid_(grid) {}
  TCellProperties(TCellProperties&&) = default;
  TCellProperties& operator=(TCellProperties&&) = default;

  TCellAlign Align() const { return align_; }
  TCellWordwrap Wordwrap() const { return wordwrap_; }
  // 0 not set, 1 not editable, 2 editable.
  std::uint8_t Editable() const { return editable_; }
  void SetAlign(TCellAlign align);
  void SetWordwrap(TCellWordwrap wordwrap);
  void SetEditable(std::uint8_t editable);

  // nullptr when the entry sets none. Changing a returned font or brush repaints the grid.
  const TLayerBrush* Brush() const { return brush_.get(); }
  const TLayerBrush* SelectedBrush() const { return selectedBrush_.get(); }
  const TLayerFont* Font() const { return font_.get(); }
  const TLayerFont* SelectedFont() const { return selectedFont_.get(); }
  TLayerBrush* Brush() { return brush_.get(); }
  TLayerBrush* SelectedBrush() { return selectedBrush_.get(); }
  TLayerFont* Font() { return font_.get(); }
  TLayerFont* SelectedFont() { return selectedFont_.get(); }

  TLayerBrush& SetBrush(const TLayerBrush& brush) { return Store(brush_, brush); }
  TLayerBrush& SetSelectedBrush(const TLayerBrush& brush) { return Store(selectedBrush_, brush); }
  TLayerFont& SetFont(const TLayerFont& font) { return Store(font_, font); }
  TLayerFont& SetSelectedFont(const TLayerFont& font) { return Store(selectedFont_, font); }

  // True when every field holds its not-set value.
  bool Empty() const;
  void RefreshColors();

 private:
  template <typename T>
  T& Store(std::unique_ptr<T>& slot, const T& value) {
    slot = std::make_unique<T>(value);
    slot->SetListener(grid_);
    Changed();
    return *slot;
  }
  void Changed();

  LayerListener* grid_;
  std::unique_ptr<TLayerBrush> brush_;
  std::unique_ptr<TLayerBrush> selectedBrush_;
  std::unique_ptr<TLayerFont> font_;
  std::unique_ptr<TLayerFont> selectedFont_;
  TCellAlign align_ = alDefault;
  TCellWordwrap wordwrap_ = ww_default;
  std::uint8_t editable_ = kEditableNotSet;
};

}  // namespace vantrel
