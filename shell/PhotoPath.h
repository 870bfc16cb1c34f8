#pragma once

#include <QString>

// The folder beside the program that keeps one copy of each person's photo.
QString PhotoFolder();

// Where to read the photo whose path is stored in a person's row: the path as stored when a
// file is there; otherwise the file of the same name in the photo folder beside the program (a
// data file moved from another computer, or a path written with backslashes); empty when
// neither exists or nothing is stored.
QString ResolvePhotoPath(const QString& stored);
