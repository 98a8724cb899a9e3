-- Program database "Prog03.mdb": configuration and the navigation tree.
-- One Jet statement per ";"; lines starting with "--" are comments.

CREATE TABLE [Config] ([name]  VARCHAR(50) NOT NULL, [value] VARCHAR(255));
CREATE UNIQUE INDEX [PK_CONFIG] ON [Config] ([name]) WITH PRIMARY;

CREATE TABLE [Albero] ([idNodo]       INTEGER      NOT NULL,
                       [idFiglio]     INTEGER,
                       [idFratello]   INTEGER,
                       [immagine]     INTEGER,
                       [codSezione]   VARCHAR(20),
                       [descrizione]  VARCHAR(128),
                       [nomeFile]     VARCHAR(50),
                       [flag]         VARCHAR(1));
CREATE UNIQUE INDEX [PK_ALBERO] ON [Albero] ([idNodo]) WITH PRIMARY;
