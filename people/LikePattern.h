#pragma once

#include <QString>

#include <optional>
#include <vector>

// A text pattern with the wildcards of the Like operator: "?" any one character, "*" any run
// of characters (also none), "#" one digit, "[abc]" one character of a list, "[!abc]" one
// character not in it, "[a-z]" a range. Letter case counts, as it does for Like.
class LikePattern {
public:
    // The pattern, or nothing when it is not a valid pattern (an unclosed "[", a range whose
    // ends are reversed such as "[z-a]").
    static std::optional<LikePattern> compile(const QString& pattern);

    // True when the whole text matches the pattern. Takes at most (text length + 1) times
    // (pattern length + 1) steps, whatever the pattern.
    bool matches(const QString& text) const;

private:
    struct Range {
        QChar low;
        QChar high;
    };
    struct Token {
        enum class Kind { Literal, AnyOne, Digit, AnyRun, Set } kind;
        QChar literal;
        std::vector<Range> ranges;
        bool negated = false;
    };

    static bool matchesOne(const Token& token, QChar c);
    static bool inSet(const Token& set, QChar c);

    std::vector<Token> m_tokens;
};

// The first of the texts whose upper-case form matches the upper-case pattern followed by
// "*" (a prefix match that keeps the wildcards' meaning); -1 when none matches or the pattern
// is not valid.
template <class Texts> int FirstPrefixMatch(const Texts& texts, const QString& typed)
{
    const auto pattern = LikePattern::compile(typed.toUpper() + QLatin1Char('*'));
    if (!pattern)
        return -1;
    int index = 0;
    for (const QString& text : texts) {
        if (pattern->matches(text.toUpper()))
            return index;
        ++index;
    }
    return -1;
}
