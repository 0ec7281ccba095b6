-- The demo operator, until the region's data files are loaded by the program itself.
INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper, CodFisc, AttEcono)
  VALUES ('A', 101, 'CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA', 'EF', '01234567890', 0);
INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Tel)
  VALUES ('A', 101, 1, 'SL', 'SEDE LEGALE CFP VALDORIA', '001001', '10100', 'VIA DEI MESTIERI 1', '0101234567');
