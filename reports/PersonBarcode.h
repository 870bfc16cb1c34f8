#pragma once

#include "platform/report/Controls.h"
#include "platform/report/Section.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The person barcode: a Code 39 symbol without check character, "*", the person's id in
// decimal digits padded on the left with "0" to at least six digits, and "*" (person 42 gives
// *000042*). A scanner types the digits followed by Enter into the meetings screen.

// The digits a person's symbol carries: the id text padded with "0" to six digits; longer ids
// keep every digit. Empty when the id is empty or holds anything but the digits 0-9.
QString PersonBarcodeDigits(const QString& id);

// The whole symbol, start and stop characters included; empty when the id has no digits.
QString PersonBarcode(const QString& id);

// The symbol drawn in a detail section from pictures, one picture per character, each 255
// twips wide and 300 high, abutting, so that the gaps between characters lie inside the
// pictures. The characters are the image controls "bc_Asterisk_Start", "bc_Digit1", ...,
// "bc_Asterisk_End"; the six digit places a layout is designed with grow to the right for
// longer ids ("bc_Digit7", ...). The digits' pictures are read from the folder "Barcode_GIFS"
// beside the program; the start and stop pictures belong to the layout.
//
// A person whose symbol needs a digit picture that is missing or cannot be read gets no
// symbol at all (a partial one would scan as somebody else), and the user is told once per
// run which file is missing.
class PersonBarcodeSymbol {
public:
    static constexpr report::Twips kCharacterWidth = 255;
    static constexpr report::Twips kCharacterHeight = 300;
    static constexpr int kDesignedDigits = 6;

    // Adds the hidden character controls to the section. The symbol's characters start at the
    // reference control's left and lie at the given top.
    PersonBarcodeSymbol(report::Section& section, const report::Control& reference,
                        report::Twips top);

    // Starts a run: missing pictures are reported again.
    void reset();

    // Draws the symbol of the id (its decimal digits as text, as the row gives it), or hides
    // every character when it cannot be drawn whole.
    void draw(const QString& id);
    // Hides every character.
    void hide();

    // Places one character: control ctl at position pos (1 for the start character), showing
    // the picture of the digit (the start and stop controls show their own picture).
    void BarcodeDigit(report::Image& ctl, int pos, const QString& digit);

private:
    report::Image& digitControl(int place);
    // Whether the digit's picture file can be read, found out once per run.
    bool digitReadable(QChar digit);

    report::Section& m_section;
    const report::Control& m_reference;
    report::Twips m_top;
    report::Image* m_start = nullptr;
    report::Image* m_end = nullptr;
    std::vector<report::Image*> m_digits;
    std::array<std::optional<bool>, 10> m_readable;
    bool m_missingReported = false;
};
