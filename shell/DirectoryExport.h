#pragma once

#include <QString>

#include <stdexcept>

// The directory export: every person who is not removed, in last-name, first-name order, as
// tab-separated text with a header line, for address books and spreadsheets.
//
// The short form has the 16 columns an address book imports; the extended form adds 10 more.
// Lines end in CR LF; TAB, CR and LF inside a value become blanks so that every line keeps its
// columns; the last name, notes and referred-by columns are quoted when they hold a comma.
// The file is written in Windows-1252 when every character has a place there, otherwise
// as UTF-8 with a byte-order mark.
enum class ExportForm { Short, Extended };

// The file could not be written; the message says why.
class DirectoryExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the export of the data file named by connectionString to path. The file appears
// only when it is complete: on any failure (data::DataError, DirectoryExportError) a file of
// that name that was there before is left untouched.
void WriteDirectoryExport(const QString& connectionString, const QString& path, ExportForm form);

// The File menu's command: asks which form, then the file name, writes the file and says where
// it went, or why it could not be written. A cancelled file dialog ends it silently.
void ExportDirectory();
