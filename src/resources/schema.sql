-- The history database template, Orvane.mdb. Time is a day count since
-- 1899-12-30 00:00 with the time of day as its fraction.
CREATE TABLE Records (
    Time          REAL NOT NULL,
    No            INTEGER,
    OutHumi       INTEGER,
    WindDirection INTEGER,
    UV            REAL,
    OutTemp       REAL,
    Wind          REAL,
    Gust          REAL,
    DewPoint      REAL,
    RelPressure   REAL,
    AbsPressure   REAL,
    Rain          REAL,
    RainDay       REAL,
    RainWeek      REAL,
    RainMonth     REAL,
    RainYear      REAL,
    Light         REAL
);
CREATE INDEX RecordsByTime ON Records (Time);

-- Kept for the file's layout; emptied with Records, never read.
CREATE TABLE Param (
    Name  TEXT,
    Value TEXT
);
