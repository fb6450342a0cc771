-- Event database, schema version 1.
-- Date/time columns hold local wall-clock text "yyyy-MM-ddTHH:mm:ss.zzz": it
-- sorts in time order and strftime() reads it, so date ranges compare as text.
-- Text limits are checked by the engine: a longer text is refused, never cut.

CREATE TABLE DownloadReqTable (
    DownLoad INTEGER PRIMARY KEY AUTOINCREMENT,
    CraneID TEXT CONSTRAINT "CraneID: at most 30 characters" CHECK (length(CraneID) <= 30),
    DateTime DATETIME,
    FromDate DATETIME,
    ToDate DATETIME
);

CREATE TABLE EventTable (
    DownLoad INTEGER,
    DateTime DATETIME,
    ErrorStr TEXT CONSTRAINT "ErrorStr: at most 30 characters" CHECK (length(ErrorStr) <= 30),
    ErrorCode TEXT CONSTRAINT "ErrorCode: at most 50 characters" CHECK (length(ErrorCode) <= 50),
    EngUnits DOUBLE,
    SetLimit DOUBLE,
    PeakSpeed DOUBLE,
    ErrorState TEXT,
    Program INTEGER,
    FlyFitted TEXT,
    Data1 TEXT,
    Reeving INTEGER
);

CREATE INDEX EventTable_DownLoad ON EventTable (DownLoad);
CREATE INDEX EventTable_DateTime ON EventTable (DateTime);

CREATE TABLE EquipmentTable (
    SerialNumber TEXT CONSTRAINT "SerialNumber: at most 15 characters" CHECK (length(SerialNumber) <= 15),
    Description TEXT CONSTRAINT "Description: at most 50 characters" CHECK (length(Description) <= 50)
);

PRAGMA user_version = 1;
