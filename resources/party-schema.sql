-- The party file: the roster, the items, and the two queries the main window reads.
-- Every integer and boolean column of Table1 defaults to 0 / false, so a record added with
-- only a few columns still shows complete hit point, action point and milestone texts.
-- Names are held to 255 characters by the engine itself, so that every writer (the datasets,
-- the dialogs' statements, other programs) is held to the same limit.

CREATE TABLE Table1 (
    ID                INTEGER PRIMARY KEY AUTOINCREMENT,
    Name              VARCHAR(255) CHECK (Name IS NULL OR length(Name) <= 255),
    TotalHP           INTEGER DEFAULT 0,
    CurHP             INTEGER DEFAULT 0,
    TempHP            INTEGER DEFAULT 0,
    Initiative        DECIMAL(19,4) DEFAULT 0,
    AC                INTEGER DEFAULT 0,
    Ref               INTEGER DEFAULT 0,
    Fort              INTEGER DEFAULT 0,
    Will              INTEGER DEFAULT 0,
    APoints           INTEGER DEFAULT 0,
    Blinded           BOOLEAN DEFAULT 0,
    Dazed             BOOLEAN DEFAULT 0,
    Dominated         BOOLEAN DEFAULT 0,
    Dying             BOOLEAN DEFAULT 0,
    Helpless          BOOLEAN DEFAULT 0,
    Immobilized       BOOLEAN DEFAULT 0,
    Marked            BOOLEAN DEFAULT 0,
    Petrified         BOOLEAN DEFAULT 0,
    Prone             BOOLEAN DEFAULT 0,
    Restrained        BOOLEAN DEFAULT 0,
    Slowed            BOOLEAN DEFAULT 0,
    Stunned           BOOLEAN DEFAULT 0,
    Surprised         BOOLEAN DEFAULT 0,
    Unconscious       BOOLEAN DEFAULT 0,
    Weakened          BOOLEAN DEFAULT 0,
    HealingSurgesUsed INTEGER DEFAULT 0,
    cp                INTEGER DEFAULT 0,
    sp                INTEGER DEFAULT 0,
    gp                INTEGER DEFAULT 0,
    pp                INTEGER DEFAULT 0,
    ad                INTEGER DEFAULT 0,
    Milestone         INTEGER DEFAULT 0,
    UsedMilestone     INTEGER DEFAULT 0,
    UsedAPoints       INTEGER DEFAULT 0,
    PC                BOOLEAN DEFAULT 0,
    UsedEnc           INTEGER DEFAULT 0,
    UsedDaily         INTEGER DEFAULT 0,
    UsedDailyItem     INTEGER DEFAULT 0,
    UsedSecondWind    BOOLEAN DEFAULT 0
);

-- Items belong to a name, not to a roster record. The first three columns are set by
-- position when an item is added, so their order matters.
CREATE TABLE Inventory (
    Name   VARCHAR(255) CHECK (Name IS NULL OR length(Name) <= 255),
    Item   VARCHAR(255) CHECK (Item IS NULL OR length(Item) <= 255),
    Weight INTEGER DEFAULT 0,
    ID     INTEGER PRIMARY KEY AUTOINCREMENT
);
CREATE INDEX InventoryByName ON Inventory (Name);

-- The whole roster's coins: the "Group" column of the money box.
CREATE VIEW SumMoney AS
    SELECT total(cp) AS "Sum-cp", total(sp) AS "Sum-sp", total(gp) AS "Sum-gp",
           total(pp) AS "Sum-pp", total(ad) AS "Sum-ad"
    FROM Table1;

-- The carried item weight of each name that has items.
CREATE VIEW Weight AS
    SELECT total(Weight) AS SumWeight, Name
    FROM Inventory
    GROUP BY Name;
