-- The data file's table layout: people, meetings and attendance.
--
-- Storage conventions (every reader and writer of the file relies on them):
--   * Dates are day numbers: days since 30 December 1899 with the time of day as the fraction
--     (DATETIME, stored as a number). Date-only values are whole numbers.
--   * Yes/No fields hold -1 (Yes) or 0 (No), never Null; the data layer writes any non-zero
--     value as -1.
--   * Text compares, sorts and groups without regard to letter case (COLLATE NOCASE); every
--     text column's declared type contains CHAR or TEXT so that SQLite keeps it as text ("02134"
--     stays "02134"). The widths are those the screens accept; SQLite does not enforce them.
--   * Money (CURRENCY) is a number rounded to 4 decimals by every writer.
--   * Ids are AUTOINCREMENT: an id is never handed out twice, even after its row is deleted.
-- Only SQLite built-ins are used, so any SQLite tool can open, query and edit the file.

CREATE TABLE Youth (
    Youth_ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    Youth_FName         VARCHAR(20)  COLLATE NOCASE,
    Youth_MName         VARCHAR(20)  COLLATE NOCASE,
    Youth_LName         VARCHAR(25)  COLLATE NOCASE,
    Youth_Address1      VARCHAR(90)  COLLATE NOCASE,
    Youth_City          VARCHAR(15)  COLLATE NOCASE,
    Youth_State         VARCHAR(3)   COLLATE NOCASE,
    Youth_Zip           VARCHAR(10)  COLLATE NOCASE,
    Youth_Email         VARCHAR(50)  COLLATE NOCASE,
    Youth_HomePhone     VARCHAR(15)  COLLATE NOCASE,
    Youth_WorkPhone     VARCHAR(15)  COLLATE NOCASE,
    Youth_CellPhone     VARCHAR(15)  COLLATE NOCASE,
    Youth_BeeperPhone   VARCHAR(15)  COLLATE NOCASE,
    Youth_IM_Username   VARCHAR(50)  COLLATE NOCASE,
    Youth_IM_Service    VARCHAR(10)  COLLATE NOCASE,
    Youth_Bday          DATETIME     CHECK (typeof(Youth_Bday) IN ('integer', 'real', 'null')),
    Youth_School        VARCHAR(30)  COLLATE NOCASE,
    Youth_School_Grade  SMALLINT,
    Youth_ParentName    VARCHAR(255) COLLATE NOCASE,
    Youth_Ministry      VARCHAR(60)  COLLATE NOCASE,
    Youth_Comments      TEXT         COLLATE NOCASE,
    Youth_Last_Attended DATETIME     CHECK (typeof(Youth_Last_Attended) IN ('integer', 'real', 'null')),
    Youth_Contact       VARCHAR(50)  COLLATE NOCASE,
    Youth_Created       DATETIME     DEFAULT (julianday(strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')) - 2415018.5)
                                     CHECK (typeof(Youth_Created) IN ('integer', 'real', 'null')),
    Youth_Updated       DATETIME     CHECK (typeof(Youth_Updated) IN ('integer', 'real', 'null')),
    Youth_Visitor       BOOLEAN      NOT NULL DEFAULT 0 CHECK (Youth_Visitor IN (0, -1)),
    Youth_Mail_List     BOOLEAN      NOT NULL DEFAULT 0 CHECK (Youth_Mail_List IN (0, -1)),
    Youth_Leader        BOOLEAN      NOT NULL DEFAULT 0 CHECK (Youth_Leader IN (0, -1)),
    Youth_VLetter       BOOLEAN      NOT NULL DEFAULT 0 CHECK (Youth_VLetter IN (0, -1)),
    Youth_VCall         BOOLEAN      NOT NULL DEFAULT 0 CHECK (Youth_VCall IN (0, -1)),
    Youth_VHouseCall    BOOLEAN      NOT NULL DEFAULT 0 CHECK (Youth_VHouseCall IN (0, -1)),
    Youth_Deleted       BOOLEAN      NOT NULL DEFAULT 0 CHECK (Youth_Deleted IN (0, -1)),
    Youth_Sex           SMALLINT,    -- 0 none, 1 male, 2 female; Null until chosen
    Youth_Status        SMALLINT,    -- 0 unassigned, 1 active, 2 away, 3 inactive; Null until chosen
    Youth_Team          VARCHAR(17)  COLLATE NOCASE,
    Youth_PhotoFile     TEXT         COLLATE NOCASE -- full path of the person's photo
);

CREATE TABLE Weeks (
    Wk_ID               INTEGER PRIMARY KEY AUTOINCREMENT,
    Wk_Date             DATETIME     CHECK (typeof(Wk_Date) IN ('integer', 'real', 'null')),
    Wk_Topic            VARCHAR(50)  COLLATE NOCASE,
    Wk_Scripture        VARCHAR(50)  COLLATE NOCASE,
    Wk_Offering         CURRENCY     CHECK (typeof(Wk_Offering) IN ('integer', 'real', 'null')),
    Wk_Attendance       INTEGER,     -- head count typed by hand
    Wk_Comments         TEXT         COLLATE NOCASE,
    Wk_Mtg_Type         VARCHAR(50)  COLLATE NOCASE
);

-- One row per person present at a meeting. No key and no enforced relation: the meetings
-- screen keeps one row per person and meeting, and a meeting's rows are deleted with it.
CREATE TABLE Attendance (
    Attend_Youth_ID     INTEGER,
    Attend_Wk_ID        INTEGER
);

CREATE INDEX Youth_ByName ON Youth (Youth_LName, Youth_FName);
CREATE INDEX Youth_ByFirstName ON Youth (Youth_FName, Youth_LName);
CREATE INDEX Weeks_ByDate ON Weeks (Wk_Date);
CREATE INDEX Attendance_ByMeeting ON Attendance (Attend_Wk_ID, Attend_Youth_ID);
CREATE INDEX Attendance_ByPerson ON Attendance (Attend_Youth_ID, Attend_Wk_ID);
