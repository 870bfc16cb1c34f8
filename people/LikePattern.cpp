#include "people/LikePattern.h"

std::optional<LikePattern> LikePattern::compile(const QString& pattern)
{
    LikePattern compiled;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        Token token{Token::Kind::Literal, c, {}, false};
        if (c == QLatin1Char('?')) {
            token.kind = Token::Kind::AnyOne;
        } else if (c == QLatin1Char('#')) {
            token.kind = Token::Kind::Digit;
        } else if (c == QLatin1Char('*')) {
            // Runs of stars mean the same as one.
            if (!compiled.m_tokens.empty() && compiled.m_tokens.back().kind == Token::Kind::AnyRun)
                continue;
            token.kind = Token::Kind::AnyRun;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = pattern.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                return std::nullopt;
            qsizetype j = i + 1;
            if (j == close) {
                i = close;
                continue; // "[]" stands for no character at all
            }
            token.kind = Token::Kind::Set;
            if (pattern[j] == QLatin1Char('!') && j + 1 < close) {
                token.negated = true;
                ++j;
            }
            while (j < close) {
                const QChar low = pattern[j];
                if (j + 2 < close && pattern[j + 1] == QLatin1Char('-')) {
                    const QChar high = pattern[j + 2];
                    if (high < low)
                        return std::nullopt;
                    token.ranges.push_back({low, high});
                    j += 3;
                } else {
                    token.ranges.push_back({low, low});
                    ++j;
                }
            }
            i = close;
        }
        compiled.m_tokens.push_back(std::move(token));
    }
    return compiled;
}

bool LikePattern::inSet(const Token& set, QChar c)
{
    bool found = false;
    for (const Range& r : set.ranges) {
        if (c >= r.low && c <= r.high) {
            found = true;
            break;
        }
    }
    return found != set.negated;
}

bool LikePattern::matchesOne(const Token& token, QChar c)
{
    switch (token.kind) {
    case Token::Kind::Literal:
        return c == token.literal;
    case Token::Kind::AnyOne:
        return true;
    case Token::Kind::Digit:
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    case Token::Kind::Set:
        return inSet(token, c);
    case Token::Kind::AnyRun:
        break;
    }
    return false;
}

bool LikePattern::matches(const QString& text) const
{
    // Every token but "*" takes exactly one character, so when a match fails only the latest
    // "*" needs to take one character more: the earlier ones can never do better. No step is
    // taken back past it, which keeps the work linear in the text for each token.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    const std::size_t count = m_tokens.size();
    std::size_t token = 0;
    qsizetype at = 0;
    std::size_t lastRun = kNone; // the latest "*" met
    qsizetype runEnd = 0;        // where the text it takes ends
    while (at < text.size()) {
        if (token < count && m_tokens[token].kind == Token::Kind::AnyRun) {
            lastRun = token++;
            runEnd = at;
        } else if (token < count && matchesOne(m_tokens[token], text[at])) {
            ++token;
            ++at;
        } else if (lastRun != kNone) {
            token = lastRun + 1;
            at = ++runEnd;
        } else {
            return false;
        }
    }
    while (token < count && m_tokens[token].kind == Token::Kind::AnyRun)
        ++token;
    return token == count;
}
