-- The demo application that scripts/schermate shows: operator A 101 in province 001
-- (ALBARESE), with one course of its registered office filled in, and the sheets complete
-- enough for the checks before the final print (the help shows the send screens too).
INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata, NumDoma) VALUES
  ('A', 101, '001', 1, 0, '000101');
INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, CompoResp, CodQualif, DesQualif, CodInd1, DesInd1, CodAsse, CodMisura, CodAzione, CodTipologia, CodDest1, CodDest2, CodScol, CodSetto, CodComp, CodOra, CodCert, StatoIter, ProgrAnno, NumAll, DurataAnnOre, TotOreIter, OreStage, OreLabEsterni, DurataTotIter, ATS, CodIsti, SPINAmbitoTerr, SPINSettoreProd, SPINFiguraProf, PO_1, IM, CO_1, QSS, Sez34_4, DataAvvio) VALUES
  ('A', 101, 1, '0001', '0', NULL, '310301', 'OPERATORE INFORMATICO', '2', 'SOFTWARE GESTIONALE', 'III.G', '02', '02', '10', '3', '9', 3, 3, 1, 1, 1, 1, 1, 12, 600, 600, 120, 0, 1, 0, 1, '04', '01', '01', -1, 'N', 0, '', 'Corso di qualifica per la gestione di programmi e archivi d''ufficio, con stage in azienda.', '15/09/2009');
INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno, ParamA1, NumOreA1, NumAllA1, ParamA2, NumOreA2, NumAllA2, Param16, NumOre16, NumAll16, Param17Piu, Param17Meno, Param70, Param70P, Param71, Param71P, Param72, Param72P, Param73, Param73P, Param74, Param74P, Param17_3, NumAll17_3, EnteErogatore, Guid) VALUES
  ('A', 101, 1, '0001', '0', 1, 8.5, 600, 12, 0, 0, 0, 0, 0, 0, 0, 0, 18360, 30, 30600, 50, 6120, 10, 3060, 5, 3060, 5, 0, 0, '', '');
UPDATE CorsiCompo SET Riferimento = 'ROSSI MARIO', NumLocali = 3, AllieviPrevisti = 60
  WHERE GrupOpe = 'A' AND Operatore = 101 AND Componente = 1;
INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) VALUES
  ('A', 101, 1, 1, 'LABORATORIO INFORMATICO');
INSERT INTO CorsiCompoOre (GrupOpe, Operatore, Componente, CodDiret, OreDiurne, OreSerali) VALUES
  ('A', 101, 1, 1, 600, 0);
UPDATE CorsiOper SET NominativoReferente = 'VERDI LUCIA', CodFiscaleReferente = 'VRDLCU70A41A001X', ContABI = '05428',
  ContCAB = '11101', ContCIN = 'X', ContIBAN = 'IT60X0542811101000000123456', ContDesBanca = 'BANCA DI VALDORIA',
  ContAge = '12', ContIndirAge = 'VIA DELLA BANCA 1', ContNumCC = '000000123456', ContIntCC = 'CFP VALDORIA'
  WHERE GrupOpe = 'A' AND Operatore = 101;
