#pragma once

#include <QString>

// One mailing label: the name and address it prints. A plain record without behaviour; on a
// label that serves several people at one address, FirstName holds their first names joined
// by " & " and the other fields are those of the first of them.
struct clsMailingLabel {
    QString LastName;
    QString FirstName;
    QString Address;   // the street line as stored, not yet abbreviated
    bool Skip = false; // always false; nothing reads it
    QString Zip;
    QString State;
    QString City;
};
