-- A new data archive at version 2.00: settings, the authority's data, the budget and balance tables,
-- the responsible centres with their budget chapters and extra-accounting amounts.
-- One Jet statement per ";"; lines starting with "--" are comments.
-- Amounts are CURRENCY and default to 0, so that a row added by its key alone reads as 0, not null.

CREATE TABLE [Settings] ([name]  VARCHAR(50) NOT NULL, [value] VARCHAR(255));
CREATE UNIQUE INDEX [PK_SETTINGS] ON [Settings] ([name]) WITH PRIMARY;

CREATE TABLE [DatiEnte] ([ID]    VARCHAR(20) NOT NULL, [value] VARCHAR(255));
CREATE UNIQUE INDEX [PK_DATIENTE] ON [DatiEnte] ([ID]) WITH PRIMARY;

-- Revenues and expenses of the past years (Anno1..Anno3 = 2003..2005) and of the forecast years
-- (Anno4..Anno6 = 2008..2010); media123 is the average of the past years.
CREATE TABLE [Entrate] ([ID]       INTEGER NOT NULL,
                        [Anno1]    CURRENCY DEFAULT 0, [Anno2] CURRENCY DEFAULT 0, [Anno3] CURRENCY DEFAULT 0,
                        [Anno4]    CURRENCY DEFAULT 0, [Anno5] CURRENCY DEFAULT 0, [Anno6] CURRENCY DEFAULT 0,
                        [media123] CURRENCY DEFAULT 0);
CREATE UNIQUE INDEX [PK_ENTRATE] ON [Entrate] ([ID]) WITH PRIMARY;

CREATE TABLE [Uscite] ([ID]       INTEGER NOT NULL,
                       [Anno1]    CURRENCY DEFAULT 0, [Anno2] CURRENCY DEFAULT 0, [Anno3] CURRENCY DEFAULT 0,
                       [Anno4]    CURRENCY DEFAULT 0, [Anno5] CURRENCY DEFAULT 0, [Anno6] CURRENCY DEFAULT 0,
                       [media123] CURRENCY DEFAULT 0);
CREATE UNIQUE INDEX [PK_USCITE] ON [Uscite] ([ID]) WITH PRIMARY;

-- Financial balances of 2003, 2004, 2005.
CREATE TABLE [SaldoFin] ([ID]    INTEGER NOT NULL,
                         [Anno1] CURRENCY DEFAULT 0, [Anno2] CURRENCY DEFAULT 0, [Anno3] CURRENCY DEFAULT 0);
CREATE UNIQUE INDEX [PK_SALDOFIN] ON [SaldoFin] ([ID]) WITH PRIMARY;

-- Programmed balance targets.
CREATE TABLE [SaldoProg] ([ID]       INTEGER NOT NULL,
                          [Anno1]    CURRENCY DEFAULT 0, [Anno2] CURRENCY DEFAULT 0, [Anno3] CURRENCY DEFAULT 0,
                          [Anno4]    CURRENCY DEFAULT 0, [Anno5] CURRENCY DEFAULT 0, [Anno6] CURRENCY DEFAULT 0,
                          [media123] CURRENCY DEFAULT 0);
CREATE UNIQUE INDEX [PK_SALDOPROG] ON [SaldoProg] ([ID]) WITH PRIMARY;

-- Quarterly monitoring of 2008.
CREATE TABLE [Monitor] ([ID]    INTEGER NOT NULL,
                        [Trim1] CURRENCY DEFAULT 0, [Trim2] CURRENCY DEFAULT 0,
                        [Trim3] CURRENCY DEFAULT 0, [Trim4] CURRENCY DEFAULT 0);
CREATE UNIQUE INDEX [PK_MONITOR] ON [Monitor] ([ID]) WITH PRIMARY;

-- Forecast of 2008, 2009, 2010 on the accrual (Com), cash (Cas) and mixed (Mis) basis.
CREATE TABLE [SaldoFinProg] ([ID]       INTEGER NOT NULL,
                             [Anno4Com] CURRENCY DEFAULT 0, [Anno4Cas] CURRENCY DEFAULT 0, [Anno4Mis] CURRENCY DEFAULT 0,
                             [Anno5Com] CURRENCY DEFAULT 0, [Anno5Cas] CURRENCY DEFAULT 0, [Anno5Mis] CURRENCY DEFAULT 0,
                             [Anno6Com] CURRENCY DEFAULT 0, [Anno6Cas] CURRENCY DEFAULT 0, [Anno6Mis] CURRENCY DEFAULT 0);
CREATE UNIQUE INDEX [PK_SALDOFINPROG] ON [SaldoFinProg] ([ID]) WITH PRIMARY;

-- Responsible centres; the row with ID 0 stands for the totals of all centres.
CREATE TABLE [Responsabili] ([ID]           COUNTER,
                             [responsabile] VARCHAR(50),
                             [centroServ]   VARCHAR(250),
                             [tipoResp]     INTEGER);
CREATE UNIQUE INDEX [PK_RESPONSABILI] ON [Responsabili] ([ID]) WITH PRIMARY;

-- The forecast of 2008 per responsible centre (idResp 0: the totals).
CREATE TABLE [SaldoFinCalc] ([ID]       INTEGER NOT NULL,
                             [idResp]   INTEGER NOT NULL,
                             [Anno4Com] CURRENCY DEFAULT 0, [Anno4Cas] CURRENCY DEFAULT 0, [Anno4Mis] CURRENCY DEFAULT 0,
                             [Anno5Com] CURRENCY DEFAULT 0, [Anno5Cas] CURRENCY DEFAULT 0, [Anno5Mis] CURRENCY DEFAULT 0,
                             [Anno6Com] CURRENCY DEFAULT 0, [Anno6Cas] CURRENCY DEFAULT 0, [Anno6Mis] CURRENCY DEFAULT 0);
CREATE UNIQUE INDEX [PK_SALDOFINCALC] ON [SaldoFinCalc] ([ID], [idResp]) WITH PRIMARY;
-- A deleted centre takes its balances with it, so that they never enter the totals again.
ALTER TABLE [SaldoFinCalc] ADD CONSTRAINT [FK1_SALDOFINCALC] FOREIGN KEY ([idResp]) REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE;

-- Budget chapters of revenue and of expenditure, each tied to a seven-digit code.
CREATE TABLE [CapEntrate] ([ID]          INTEGER      NOT NULL,
                           [descrizione] VARCHAR(100) NOT NULL,
                           [codUEB]      VARCHAR(7)   NOT NULL);
CREATE UNIQUE INDEX [PK_CAPENTRATE] ON [CapEntrate] ([ID]) WITH PRIMARY;
CREATE UNIQUE INDEX [K1_CAPENTRATE] ON [CapEntrate] ([ID], [codUEB]);

CREATE TABLE [CapSpese] ([ID]          INTEGER      NOT NULL,
                         [descrizione] VARCHAR(100) NOT NULL,
                         [codUEB]      VARCHAR(7)   NOT NULL);
CREATE UNIQUE INDEX [PK_CAPSPESE] ON [CapSpese] ([ID]) WITH PRIMARY;
CREATE UNIQUE INDEX [K1_CAPSPESE] ON [CapSpese] ([ID], [codUEB]);

-- Extra-accounting amounts per responsible centre and chapter (idResp 0: the totals per chapter).
CREATE TABLE [ExtraEntrCap] ([ID]           COUNTER,
                             [idResp]       INTEGER      NOT NULL,
                             [codUEB]       VARCHAR(7)   NOT NULL,
                             [capitolo]     INTEGER      NOT NULL,
                             [articolo]     VARCHAR(100),
                             [importoComp]  CURRENCY,
                             [importoCassa] CURRENCY);
CREATE UNIQUE INDEX [PK_EXTRAENTRCAP] ON [ExtraEntrCap] ([ID]) WITH PRIMARY;

CREATE TABLE [ExtraSpeseCap] ([ID]           COUNTER,
                              [idResp]       INTEGER      NOT NULL,
                              [codUEB]       VARCHAR(7)   NOT NULL,
                              [capitolo]     INTEGER      NOT NULL,
                              [articolo]     VARCHAR(100),
                              [importoComp]  CURRENCY,
                              [importoCassa] CURRENCY);
CREATE UNIQUE INDEX [PK_EXTRASPESECAP] ON [ExtraSpeseCap] ([ID]) WITH PRIMARY;

ALTER TABLE [ExtraEntrCap] ADD CONSTRAINT [FK1_EXTRAENTRCAP] FOREIGN KEY ([idResp]) REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE;
ALTER TABLE [ExtraEntrCap] ADD CONSTRAINT [FK2_EXTRAENTRCAP] FOREIGN KEY ([capitolo],[codUEB]) REFERENCES [CapEntrate] ([ID],[codUEB]) ON UPDATE CASCADE ON DELETE CASCADE;
ALTER TABLE [ExtraSpeseCap] ADD CONSTRAINT [FK1_EXTRASPESECAP] FOREIGN KEY ([idResp]) REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE;
ALTER TABLE [ExtraSpeseCap] ADD CONSTRAINT [FK2_EXTRASPESECAP] FOREIGN KEY ([capitolo],[codUEB]) REFERENCES [CapSpese] ([ID],[codUEB]) ON UPDATE CASCADE ON DELETE CASCADE;

INSERT INTO [Responsabili] ([ID], [responsabile], [centroServ]) VALUES (0, 'Totale', 'Totale');
INSERT INTO [Settings] ([name], [value]) VALUES ('VersioneDB', '200');
INSERT INTO [Settings] ([name], [value]) VALUES ('imp_extra_cont2', '0');
