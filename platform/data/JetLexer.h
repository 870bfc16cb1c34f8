#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// The words of a statement in the Jet dialect, as the parser reads them: names, bracketed
// names, numbers, text and date literals, symbols.
namespace data::jet {

enum class Tok : std::uint8_t {
    End,
    Word,      // identifier or keyword
    Bracketed, // [name]
    Number,
    String,
    Date,
    Symbol,
};

struct Token {
    Tok kind = Tok::End;
    int pos = 0;
    int len = 0;
    QStringView text; // the token as written
    QString value;    // strings and bracketed names: their decoded text
    double number = 0.0;

    QString str() const
    {
        return kind == Tok::String || kind == Tok::Bracketed ? value : text.toString();
    }
};

// The tokens of a statement, the last of kind End; they view `text`, which must outlive them.
// Throws DataError at text that is no token.
std::vector<Token> tokenize(const QString& text);

// Words that end an expression or a table reference; never taken as an alias.
bool isReservedWord(QStringView w);

} // namespace data::jet
