// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's operations in any order on a small dictionary: typing, search, pick,
// removal, the affix offers and the affix window's OK (also after the proposal's cells
// were edited), Clear, entering the field, the mode. After every step the phrase, the
// bullets in the number and the free digits must agree.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Dictionary.h"
#include "MainModel.h"
#include "VantrelGlobal.h"

namespace {

const std::string kDictionary =
    "1,1,D\r\n2,a,B\r\n22,aa,B\r\n228,bat,B\r\n4357,help,A\r\n2255,ball,B\r\n"
    "464,-ing,B\r\n73,re-,A\r\n68437,over+,B\r\n26,+an,B\r\n37,+er+,B\r\n3,d,B\r\n"
    "7,s,B\r\n77,ss,B\r\n5,j,B\r\n0,0,D\r\n6,m,B\r\n9,w,B\r\n\r\n";

class Source final : public vantrel::ByteSource {
 public:
  long Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, kDictionary.size() - pos_);
    kDictionary.copy(buffer, n, pos_);
    pos_ += n;
    return static_cast<long>(n);
  }

 private:
  std::size_t pos_ = 0;
};

// Reads the steps from the fuzz input; past its end every read gives 0.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return pos_ < size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

class Host final : public vantrel::MainHost {
 public:
  explicit Host(Input& input) : input_(input) {}
  void Warn(const vantrel::Message&) override {}
  std::optional<std::string> ChooseDictionaryFile() override { return "dict.txt"; }
  void ShowAffixWindow() override {
    const std::uint8_t choice = input_.Byte();
    if (choice % 4 == 0) {
      return;  // Cancel
    }
    if (choice % 4 == 3) {
      // The user edits the proposal: digits cut short or changed, the word emptied.
      std::string digits = model->Correction().Cell(1, 1);
      digits.resize(digits.size() * (input_.Byte() % 4) / 3);
      model->Correction().SetCell(1, 1, digits);
      if (input_.Byte() % 3 == 0) {
        model->Correction().SetCell(0, 1, " ");
      }
    }
    model->JoinAffix();
  }
  vantrel::MainModel* model = nullptr;

 private:
  Input& input_;
};

void Check(const vantrel::MainModel& model, const std::string& typed, bool typedKnown) {
  const std::string& entry = model.EntryText();
  int filled = 0;
  while (filled < vantrel::MainModel::kPhraseSlots && !model.Phrase().Cell(0, filled + 1).empty()) {
    ++filled;
  }
  std::string restored = entry;
  std::size_t taken = 0;
  int end = 1;  // where the previous word's digits end
  for (int r = 1; r <= filled; ++r) {
    const std::string& digits = model.Phrase().Cell(1, r);
    const int p = model.WordPositions(r);
    const int n = static_cast<int>(digits.size());
    // Words in number order, none overlapping, each on bullets of its own.
    if (n == 0 || p < end || vantrel::SubText(entry, p, n).size() != digits.size() ||
        vantrel::SubText(entry, p, n).find_first_not_of(vantrel::kBullet) != std::string::npos) {
      __builtin_trap();
    }
    restored.replace(static_cast<std::size_t>(p - 1), digits.size(), digits);
    taken += digits.size();
    end = p + n;
  }
  for (int r = filled + 1; r <= vantrel::MainModel::kPhraseSlots; ++r) {
    if (!model.Phrase().Cell(0, r).empty() || !model.Phrase().Cell(1, r).empty() ||
        model.WordPositions(r) != vantrel::MainModel::kEmptyPosition) {
      __builtin_trap();
    }
  }
  // While the number is one the user typed, its bullets are exactly the phrase's digits.
  if (typedKnown) {
    const auto bullets =
        static_cast<std::size_t>(std::count(entry.begin(), entry.end(), vantrel::kBullet));
    if (bullets != taken || restored != typed) {
      __builtin_trap();
    }
  }
  if (model.ConvertEnabled() != (vantrel::FirstDigitPos(entry) != 0)) {
    __builtin_trap();
  }
  // Every candidate listed stands on free digits of the number.
  for (int row = 1; row < model.Candidates().RowCount(); ++row) {
    const std::string& digits = model.Candidates().Cell(1, row);
    if (digits.empty()) {
      break;
    }
    if (vantrel::Pos(digits, entry) == 0) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input(data, size);
  vantrel::DictionaryFile dictionary([](const std::string&) { return std::make_unique<Source>(); });
  dictionary.Bind("dict.txt");
  dictionary.name = "dict.txt";
  Host host(input);
  vantrel::MainModel model(dictionary, host);
  host.model = &model;
  model.LoadAffixes();
  model.ResumeNumber();  // the field gets the focus when the window first shows

  std::string typed;
  bool typedKnown = true;
  for (int step = 0; step < 64 && input.More(); ++step) {
    const std::uint8_t op = input.Byte();
    switch (op % 9) {
      case 0: {  // typing: digits and separators, now and then a bullet pasted in
        static const char kKeys[] = "0123456789-- ()\x95";
        std::string text;
        const int length = input.Byte() % 24;
        for (int i = 0; i < length; ++i) {
          text += kKeys[input.Byte() % (sizeof kKeys - 1)];
        }
        model.TypeNumber(text);
        typed = text;
        typedKnown = text.find(vantrel::kBullet) == std::string::npos;
        break;
      }
      case 1:
        model.Search();
        break;
      case 2:
      case 3:
        model.ChooseCandidate(input.Byte() % 12);
        break;
      case 4:
        model.RemovePhraseWord(input.Byte() % 101);
        break;
      case 5:
        model.ChooseAffix(input.Byte() % 10 - 1);
        break;
      case 6: {
        const bool bullets = model.EntryText().find(vantrel::kBullet) != std::string::npos;
        model.ResumeNumber();
        if (bullets) {
          typed = model.CurrentNumber();
          typedKnown = true;
        }
        break;
      }
      case 7:
        model.ClearNumber();
        typed.clear();
        typedKnown = true;
        break;
      case 8:
        model.SetMode(static_cast<vantrel::SearchMode>(input.Byte() % 3));
        break;
    }
    Check(model, typed, typedKnown);
  }
  return 0;
}
