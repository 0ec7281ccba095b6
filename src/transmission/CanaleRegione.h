#pragma once
// The transfer layer offered to the assistance request: form posts with the form
// services' header block, and the region's secure upload service.
#include "support/Assistenza.h"

namespace quirdal {

class Trasferimento;

class CanaleRegione : public CanaleAssistenza {
public:
    CanaleRegione(Contesto &c, Trasferimento &t) : m_c(c), m_t(t) { }
    EsitoInvio postaModulo(const QString &indirizzo, const CampiModulo &campi) override;
    EsitoInvio postaUpload(const QByteArray &corpo, const QString &tipoContenuto) override;

private:
    Contesto &m_c;
    Trasferimento &m_t;
};

} // namespace quirdal
