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

bool LikePattern::matches(const QString& text) const
{
    return matchFrom(0, text, 0);
}

bool LikePattern::matchFrom(std::size_t token, const QString& text, qsizetype at) const
{
    for (; token < m_tokens.size(); ++token) {
        const Token& t = m_tokens[token];
        if (t.kind == Token::Kind::AnyRun) {
            if (token + 1 == m_tokens.size())
                return true;
            for (qsizetype from = at; from <= text.size(); ++from) {
                if (matchFrom(token + 1, text, from))
                    return true;
            }
            return false;
        }
        if (at >= text.size())
            return false;
        const QChar c = text[at];
        switch (t.kind) {
        case Token::Kind::Literal:
            if (c != t.literal)
                return false;
            break;
        case Token::Kind::AnyOne:
            break;
        case Token::Kind::Digit:
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
            break;
        case Token::Kind::Set:
            if (!inSet(t, c))
                return false;
            break;
        case Token::Kind::AnyRun:
            break;
        }
        ++at;
    }
    return at == text.size();
}
