-- Rows of table Config of the program database "Prog03.mdb": the budget year, the data archive's file name
-- (relative to the program folder) and the version of the program that goes with it.
-- One Jet statement per ";"; lines starting with "--" are comments; the file is UTF-8.

INSERT INTO [Config] ([name], [value]) VALUES ('anno', '2008');
INSERT INTO [Config] ([name], [value]) VALUES ('nomeDB', 'Dati/Vorsa08.mdb');
INSERT INTO [Config] ([name], [value]) VALUES ('versione', '200');
