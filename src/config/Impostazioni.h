#pragma once
// Per-user settings (application "QUIRDAL", section "FP"): e-mail, mail server,
// proxy, accessibility options.
#include <QString>
#include <memory>

class QSettings;

namespace quirdal {

class ImpostazioniUtente {
public:
    // With a file, the settings live there (tests, portable installs); otherwise in
    // the platform's per-user store.
    explicit ImpostazioniUtente(const QString &file = {});
    ~ImpostazioniUtente();

    QString leggi(const QString &chiave, const QString &predefinito = {}) const;
    void scrivi(const QString &chiave, const QString &valore);
    bool leggiFlag(const QString &chiave, bool predefinito) const; // non-zero means on
    void scriviFlag(const QString &chiave, bool valore);

private:
    std::unique_ptr<QSettings> m_s;
};

namespace chiaviFP {
inline const QString EMail = QStringLiteral("E-Mail");
inline const QString ServerMail = QStringLiteral("ServerMail");
inline const QString Proxy = QStringLiteral("Proxy");
inline const QString Porta = QStringLiteral("Porta");
inline const QString OptSottolinea = QStringLiteral("OptSottolinea");
inline const QString OptAumenta = QStringLiteral("OptAumenta");
inline const QString OptCambia = QStringLiteral("OptCambia");
// Size and place of the help window.
inline const QString FinestraAiuto = QStringLiteral("FinestraAiuto");
} // namespace chiaviFP

} // namespace quirdal
