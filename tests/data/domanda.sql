-- An application that uses every record of the transmission file: components with courses, an
-- occasional site, a component only responsible for occasional-site courses, a merged course, a
-- two-year course, check values, labs, hours by directive, section 3.4 text; and, in another
-- province, a course and a lab that the file must leave out. Read by tests/support/Domanda.h.
-- @CRLF@ stands for a carriage return and a line feed inside a text (no function writes one on
-- every engine).
INSERT INTO Province VALUES
  ('001','AL','ALFA','01'),
  ('003','GG','GAMMA','01');
INSERT INTO Comuni VALUES
  ('001001','ALFA','001','AL','10100'),
  ('001002','SANT''ELIA','001','AL','10024'),
  ('003001','GAMMA','003','GG','30100');
INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper, CodFisc, Corrispondenza, LegNome, LegComNasc, LegProvNasc, LegGGNasc, LegMMNasc, LegAAAANasc, ProvCCIAA, CodCCIAA, AnnoCCIAA, AttEcono, ContABI, ContCAB, ContCIN, ContIBAN, ContDesBanca, ContAge, ContIndirAge, ContNumCC, ContIntCC, DomPrece, GGPrece, MMPrece, AAAAPrece, NominativoReferente, CodFiscaleReferente) VALUES
  ('A', 7, 'ENTE SETTE À', 'EF', '07070707070', 1, 'BIANCHI MARIA', 'ALFA', 'AL', '', '', '1965', 'AL', '1234567', '1999', 101, '01234', '05678', 'X', 'IT60X0542811101000000123456', 'BANCA DI VALDORIA', '12', 'VIA BANCA 1', '000000123456', 'ENTE SETTE', '', '', '', '', 'VERDI LUCIA', 'VRDLCU70A41A001X');
INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata, NumDoma) VALUES
  ('A', 7, '001', 1, -1, ' 000123 '),
  ('A', 7, '003', 1, 0, '000124');
INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Email, Riferimento, NumLocali, AllieviPrevisti) VALUES
  ('A', 7, 1, 'SL', 'SEDE LEGALE', '001001', '10100', 'VIA UNO 1', '0115551234', '0115551235', '', '', 'sl@ente.example', 'ROSSI', 6, 40),
  ('A', 7, 2, 'UL', 'SEDE DUE', '001002', '10024', 'VIA DUE 2', '0115550002', '', '', '', '', 'NERI', NULL, NULL),
  ('A', 7, 3, 'UL', 'SEDE GAMMA', '003001', '30100', 'VIA TRE 3', '0305550003', '', '', '', '', '', 2, 10);
INSERT INTO CorsiSediOcc (SedeOcc, Denominazione, Indirizzo, CodComune, Cap, Tel, Fax, TipoCompo) VALUES
  (1001, 'PALESTRA', 'VIA SPORT 1', '001002', '10024', '0115557000', '', 'UO'),
  (1002, 'SALA GAMMA', 'PIAZZA 2', '003001', '30100', '0305550100', '', 'UO');
INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc, Email, Riferimento) VALUES
  ('A', 7, 1001, 'palestra@ente.example', 'GIALLI'),
  ('A', 7, 1002, '', '');
INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) VALUES
  ('A', 7, 1, 2, 'LABORATORIO INFORMATICO'),
  ('A', 7, 3, 1, 'LABORATORIO DI GAMMA');
INSERT INTO CorsiCompoOre (GrupOpe, Operatore, Componente, CodDiret, OreDiurne, OreSerali) VALUES
  ('A', 7, 1, 1, 1200, 300);
INSERT INTO Metadati VALUES
  ('001', 1, 'T', 'TITOLO', ''),
  ('001', 2, 'C', 'VOCE DUE', '1'),
  ('001', 3, 'C', 'VOCE TRE', '2');
-- Courses: sede, corso, accorp, CompoResp, durata, DataAvvio, QSS, Sez34_1, Sez34_2, SPIN.
INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, CompoResp, CodQualif, DesQualif, CodInd1, DesInd1, CodAsse, CodMisura, CodAzione, CodTipologia, CodDest1, CodDest2, CodScol, CodSetto, CodComp, CodOra, CodCert, StatoIter, NumAll, DurataAnnOre, TotOreIter, OreStage, OreLabEsterni, DurataTotIter, ATS, CodIsti, SPINAmbitoTerr, SPINSettoreProd, SPINFiguraProf, PO_1, IM, CO_1, QSS, Sez34_1, Sez34_2, DataAvvio) VALUES
  ('A', 7, 1, '0001', '0', NULL, '310301', 'OPERATORE GRAFICO', '1', 'GRAFICA', 'III.G', '06', '04', '10', '1', '3', 2, 1, 2, 1, 1, 1, 15, 600, 600, 120, 0, 1, 0, 0, 'OO', '99', '01', -1, 'N', 0, '', '', 'RIGA UNO@CRLF@RIGA DUE', '15/09/2009'),
  ('A', 7, 1, '0001', '1', NULL, '', 'QUALIFICA NUOVA', '', 'NUOVO INDIRIZZO', 'III.G', '06', '04', '10', '1', NULL, 2, 1, 2, 1, 1, 1, 10, 300, 300, 0, 0, 1, -1, 4, 'AA', '01', '02', 0, 'S', -1, NULL, NULL, NULL, ''),
  ('A', 7, 1, '0002', '0', NULL, '430000', 'OSS', '', '', 'II.E', '11', '01', '10', '2', NULL, 3, 2, 1, 2, 2, 1, 18, 900, 1800, 200, 40, 2, 0, 0, 'AA', '01', '02', 0, 'N', 0, 'ENTE#GESTORE', NULL, NULL, '01/10/2009'),
  ('A', 7, 1001, '0003', '0', 2, '310301', 'CORSO IN PALESTRA', '', '', 'III.G', '06', '04', '10', '1', NULL, 2, 1, 2, 1, 1, 1, 12, 400, 400, 0, 0, 1, 0, 0, 'OO', '99', '01', 0, 'N', 0, NULL, NULL, NULL, ''),
  ('A', 7, 1002, '0004', '0', 1, '310301', 'CORSO A GAMMA', '', '', 'III.G', '06', '04', '10', '1', NULL, 2, 1, 2, 1, 1, 1, 12, 400, 400, 0, 0, 1, 0, 0, 'OO', '99', '01', 0, 'N', 0, NULL, NULL, NULL, ''),
  ('A', 7, 3, '0005', '0', NULL, '310301', 'CORSO NELLA SEDE GAMMA', '', '', 'III.G', '06', '04', '10', '1', NULL, 2, 1, 2, 1, 1, 1, 12, 400, 400, 0, 0, 1, 0, 0, 'OO', '99', '01', 0, 'N', 0, NULL, NULL, NULL, '');
INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno, ParamA1, NumOreA1, NumAllA1, ParamA2, NumOreA2, NumAllA2, Param16, NumOre16, NumAll16, Param17Piu, Param17Meno, Param70, Param70P, Param71, Param71P, Param72, Param72P, Param73, Param73P, Param74, Param74P, Param17_3, NumAll17_3, EnteErogatore, Guid) VALUES
  ('A', 7, 1, '0001', '0', 1, 8.5, 600, 15, 0, 0, 0, 1.5, 100, 10, 0, 0, 22500, 30, 37500, 50, 7500, 10, 3750, 5, 3750, 5, 200, 15, '', '0123456789ABCDEF0123456789ABCDEF'),
  ('A', 7, 1, '0001', '1', 1, 1234.5, 1, 1, NULL, NULL, NULL, 0, 0, 0, 0, 0, 1234, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '', ''),
  ('A', 7, 1, '0002', '0', 1, 9, 900, 18, 2.5, 900, 2, 0, 0, 0, 100, 0, 0, 20, 0, 20, 0, 20, 0, 20, 0, 20, 0, 0, 'EROGATORE SRL', ''),
  ('A', 7, 1, '0002', '0', 2, 9, 900, 18, 2.5, 900, 2, 0, 0, 0, 0, 50.25, 0, 20, 0, 20, 0, 20, 0, 20, 0, 20, 0, 0, '', ''),
  ('A', 7, 1001, '0003', '0', 1, 0, 400, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '', ''),
  ('A', 7, 1002, '0004', '0', 1, 5, 400, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '', '');
INSERT INTO ValoriChk VALUES
  ('A', 7, 1, '0001', '0', '001', 1, -1),
  ('A', 7, 1, '0001', '0', '001', 2, -1),
  ('A', 7, 1, '0001', '0', '001', 3, 0),
  ('A', 7, 1, '0002', '0', '001', 2, 0),
  ('A', 7, 1002, '0004', '0', '003', 2, -1);
