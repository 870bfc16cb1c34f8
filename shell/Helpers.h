#pragma once

#include "platform/data/Variant.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QComboBox;

// Person status codes (Youth_Status).
enum class PersonStatus : std::int16_t { Unassigned = 0, Active = 1, Away = 2, Inactive = 3 };

// Gender codes (Youth_Sex).
enum class GenderCode : std::int16_t { None = 0, Male = 1, Female = 2 };

// Whole years from a birth date (a date, or text that reads as one) to today; 0 for any other
// value. On the birthday itself the full age counts; a 29 February birthday falls on 1 March in
// other years.
std::int16_t GetAge(const data::Variant& birth);

QString GetGenderText(std::int16_t code);
QString GetStatusText(std::int16_t code);

// Selects the first entry whose item data equals value; no match keeps the selection.
void SelectComboByItemData(QComboBox* combo, std::int32_t value);

// The top of a chart scale for a largest value n (see RoundUpToStep). n is passed on by
// reference and is increased by one for small values, as the bar graphs expect.
std::int32_t ChartScaleMax(std::int32_t& n);
std::int32_t RoundUpToStep(std::int32_t& n, std::int32_t step);

// True for empty text; otherwise a character before the first "@" and at least one character
// between it and the last ".".
bool IsValidEmail(const QString& s);

// The text after the last "." of the file name of a path ("\" and "/" separate folders).
QString GetFileExtension(const QString& path);

// The larger of two numeric values (numbers or numeric text), returned as given; the second on
// a tie; Empty when either is not numeric (a date is not).
data::Variant MaxOf(const data::Variant& a, const data::Variant& b);

// The entries of a drop-down drawn from values stored by people (teams, schools, meeting types),
// already trimmed: each value once, values differing only in letter case counting as one (the
// first spelling is kept), empty values left out, in alphabetical order without regard to case.
QStringList DistinctEntries(const QStringList& trimmedValues);
