#pragma once

#include <QString>

#include <cstdint>

// One entry of the report catalogue: which filters the report offers, the defaults stored
// with it, its description, the name of the layout to create and its title. A plain record
// without behaviour; flags start false, numbers 0, texts empty.
struct clsReport {
    bool FilterGender = false;
    bool FilterGrade = false;
    bool FilterTeam = false;
    bool FilterMtgType = false;
    bool FilterYear = false;
    bool FilterStartDate = false; // the "First Attended:" date box
    bool FilterInclude = false;
    // Stored with the entries that offer these filters; nothing reads them.
    std::int16_t DefaultInclude = 0;
    std::int16_t DefaultVisitor = 0;
    std::int16_t DefaultStatus = 0;
    std::int16_t DefaultSchoolType = 0;
    QString DefaultSchool;
    std::int16_t DefaultMusic = 0;
    std::int16_t DefaultMailList = 0;
    std::int16_t DefaultLeader = 0;
    std::int16_t DefaultDrama = 0;
    QString Description;
    bool FilterDrama = false;
    bool FilterMusic = false;
    bool FilterVisitor = false;
    bool FilterMailList = false;
    bool FilterLeader = false;
    bool FilterSchoolType = false;
    bool FilterSchool = false;
    bool FilterStatus = false;
    QString ObjectName; // the layout to create; empty for the separator row
    QString Title;      // the list text and the entry's key
};
