-- A small party to try the program with: four player characters, a numbered band of
-- goblins, a few items and coins.
INSERT INTO Table1 (Name, TotalHP, CurHP, TempHP, Initiative, AC, Ref, Fort, Will, APoints,
                    HealingSurgesUsed, cp, sp, gp, pp, ad, PC)
VALUES ('Aldric',  44, 44, 0,  3, 20, 14, 17, 13, 1, 0, 12, 30, 150, 2, 0, 1),
       ('Brynn',   31, 24, 5,  7, 17, 18, 13, 15, 1, 1, 40, 5,   60, 0, 1, 1),
       ('Cael',    27, 9,  0,  5, 16, 16, 12, 17, 1, 2, 3,  18,  75, 1, 0, 1),
       ('Dessa',   36, 36, 0,  2, 18, 13, 16, 16, 1, 0, 0,  0,   95, 0, 0, 1);
INSERT INTO Table1 (Name, TotalHP, CurHP, Initiative, AC, Ref, Fort, Will, PC)
VALUES ('Goblin.1', 25, 25, 4, 16, 14, 12, 11, 0),
       ('Goblin.2', 25, 25, 4, 16, 14, 12, 11, 0),
       ('Goblin.3', 25, 0,  4, 16, 14, 12, 11, 0),
       ('Goblin.4', 25, 12, 4, 16, 14, 12, 11, 0);
UPDATE Table1 SET Dying = 1 WHERE Name = 'Goblin.3';
UPDATE Table1 SET Marked = 1, Slowed = 1 WHERE Name = 'Cael';
INSERT INTO Inventory (Name, Item, Weight)
VALUES ('Aldric', 'Longsword', 4),
       ('Aldric', 'Plate armor', 50),
       ('Aldric', 'Adventurer''s kit', 33),
       ('Brynn',  'Dagger', 1),
       ('Brynn',  'Thieves'' tools', 1),
       ('Cael',   'Staff', 4),
       ('Cael',   'Ritual book', 3),
       ('Dessa',  'Holy symbol', 1),
       ('Dessa',  'Mace', 6);
