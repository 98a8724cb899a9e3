-- Rows of table Albero of the program database "Prog03.mdb": the nodes of the navigation tree.
-- One Jet statement per ";"; lines starting with "--" are comments; the file is UTF-8.
--
-- Both tabs of the tree start from node 1 and follow the same links:
--   idFiglio / idFratello  first child and next sibling (null: none);
--   immagine               -1 a folder; 1 with a file a printed report (Doc); 2 with a file an editable document
--                          (Doc); null: the section code decides (1 the D-07 form in the official tab, 1.3 the
--                          programmed target report, 5.1/5.2 the per-responsible reports, 5.3 the centre form);
--   codSezione             2.1 to 2.4 and 3.1 are forms awaiting their rules ("Normativa in corso di
--                          approvazione"); in the official tab every code but 1 is, node 1.1 there stands for all
--                          of them (its siblings are cut) and section 5 is left out;
--   flag                   "h": a report laid out across the page.

-- 1: the attachment D-07 (opened as a form in the official tab) and, below it, the control reports.
INSERT INTO [Albero] VALUES (1, 11, 2, NULL, '1', 'Allegato D-07: verifica del rispetto del Vorsa 2008/2010', 'AllegD07.vts', NULL);
INSERT INTO [Albero] VALUES (11, NULL, 12, 1, '1.1', 'Entrate e spese finali 2003/2004/2005', 'RepConsuntivi.txd', 'h');
INSERT INTO [Albero] VALUES (12, NULL, 13, 1, '1.2', 'Saldi finanziari 2003/2004/2005 e media del triennio', 'RepSaldiFin.txd', 'h');
INSERT INTO [Albero] VALUES (13, NULL, 14, NULL, '1.3', 'Obiettivo programmatico: miglioramento dei saldi 2008/2009/2010', 'RepObiettivo.txd', NULL);
INSERT INTO [Albero] VALUES (14, NULL, 15, 1, '1.4', 'Verifica del Vorsa sui dati previsionali 2008/2009/2010', 'RepVerifica.txd', NULL);
INSERT INTO [Albero] VALUES (15, 151, NULL, -1, '1.5', 'Monitoraggio trimestrale', NULL, NULL);
INSERT INTO [Albero] VALUES (151, NULL, 152, 1, '1.5.1', 'Entrate finali: accertamenti e riscossioni', 'RepMonEntrate.txd', 'h');
INSERT INTO [Albero] VALUES (152, NULL, 153, 1, '1.5.2', 'Spese finali nette: impegni e pagamenti', 'RepMonSpese.txd', 'h');
INSERT INTO [Albero] VALUES (153, NULL, NULL, 1, '1.5.3', 'Saldo finanziario di competenza mista', 'RepMonSaldo.txd', 'h');

-- 2 and 3: official forms still awaiting their rules.
INSERT INTO [Albero] VALUES (2, 21, 3, -1, '2', 'Monitoraggio semestrale (modelli ministeriali)', NULL, NULL);
INSERT INTO [Albero] VALUES (21, NULL, 22, 1, '2.1', 'Modello MON/1: entrate finali di competenza e di cassa', NULL, NULL);
INSERT INTO [Albero] VALUES (22, NULL, 23, 1, '2.2', 'Modello MON/2: spese finali nette di competenza e di cassa', NULL, NULL);
INSERT INTO [Albero] VALUES (23, NULL, 24, 1, '2.3', 'Modello MON/3: saldo finanziario e obiettivo', NULL, NULL);
INSERT INTO [Albero] VALUES (24, NULL, NULL, 1, '2.4', 'Modello MON/4: riepilogo del semestre', NULL, NULL);
INSERT INTO [Albero] VALUES (3, 31, 4, -1, '3', 'Certificazione', NULL, NULL);
INSERT INTO [Albero] VALUES (31, NULL, NULL, 1, '3.1', 'Certificazione del rispetto del Vorsa per l''anno 2008', NULL, NULL);

-- 4: the regulatory texts, documents the user may annotate and keep.
INSERT INTO [Albero] VALUES (4, 41, 5, -1, '4', 'Normativa', NULL, NULL);
INSERT INTO [Albero] VALUES (41, NULL, 42, 2, '4.1', 'Stralcio dalla Legge Finanziaria 2007', 'Normativa.txd', NULL);
INSERT INTO [Albero] VALUES (42, NULL, 43, 2, '4.2', 'Circolare Ministeriale 12/2007', 'Circolare1207.txd', NULL);
INSERT INTO [Albero] VALUES (43, NULL, NULL, 2, '4.3', 'Circolare Ministeriale 08/2008', 'Circolare0808.txd', NULL);

-- 5: the verification per responsible centre (control tab only); 5.2 gets one child per centre.
INSERT INTO [Albero] VALUES (5, 51, NULL, -1, '5', 'Verifica per centro di responsabilità', NULL, NULL);
INSERT INTO [Albero] VALUES (51, NULL, 52, NULL, '5.1', 'Riepilogo di tutti i centri di responsabilità', 'RepRespTotale.txd', NULL);
INSERT INTO [Albero] VALUES (52, NULL, 53, NULL, '5.2', 'Verifica per singolo centro', 'RepResp.txd', NULL);
INSERT INTO [Albero] VALUES (53, NULL, NULL, NULL, '5.3', 'Conferma dei dati dei centri di servizio', 'ConfServ.txd', NULL);
