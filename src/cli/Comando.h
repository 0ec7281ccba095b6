#pragma once
// One command of quirdal-cli: its name, what it does, its options and arguments, and what
// it does with them. The base class builds the one parser every command is read with, so
// that every command treats a wrong command line the same way: an unknown, missing or
// repeated option, a missing value or a stray argument prints what is wrong and the
// command's usage, and ends with status 2. A refused operation ends with 1, success with 0.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace quirdal {

struct Contesto;

// The exit statuses of quirdal-cli.
enum StatoUscita : int { kRiuscito = 0, kRifiutato = 1, kUsoErrato = 2 };

class Comando {
public:
    // What must be in place before the command runs: nothing (the commands that make the
    // installation), an installed program folder, or the database open as well.
    enum class Richiede { Niente, Installazione, BaseDati };
    // Fonts and a PDF writer need a GUI application, run headless; the rest a core one.
    enum class Applicazione { Base, Grafica };

    virtual ~Comando() = default;
    Comando(const Comando &) = delete;
    Comando &operator=(const Comando &) = delete;

    const QString &nome() const { return m_nome; }
    const QString &descrizione() const { return m_descrizione; }
    Richiede richiede() const { return m_richiede; }
    Applicazione applicazione() const { return m_applicazione; }

    // "--prov P ... [--sede C]": the arguments and options, optional ones in brackets.
    QString sintassi() const;
    // "uso: quirdal-cli NOME SINTASSI".
    QString uso() const;
    // What "quirdal-cli NOME --help" prints: the usage, the description, every option.
    QString aiuto() const;

    // The command's arguments (those after its name) read by the command's parser.
    struct Analisi {
        std::unique_ptr<QCommandLineParser> parser; // set when the command is to run
        int esito = kRiuscito;                      // else what to exit with: help 0, usage 2
    };
    Analisi analizza(const QStringList &argomenti) const;

    // Runs the command on a parsed command line: kRiuscito or kRifiutato.
    virtual int esegui(Contesto &c, const QCommandLineParser &p) const = 0;

protected:
    Comando(QString nome, QString descrizione, Richiede richiede = Richiede::BaseDati,
            Applicazione applicazione = Applicazione::Base);

    enum class Presenza { Obbligatoria, Facoltativa };
    void opzione(const QString &nome, const QString &valore, const QString &descrizione,
                 Presenza presenza = Presenza::Obbligatoria);
    // --prov P --grupope G --operatore N: the application the command works on.
    void opzioniDomanda();
    // A positional argument; every one is required.
    void argomento(const QString &nome, const QString &descrizione);

    // The values' own checks that need nothing but the command line (a date, a mode, a
    // number): the reason they are wrong, empty when they are right. Wrong values are a
    // usage error, told before anything is opened.
    virtual QString controlla(const QCommandLineParser &) const { return {}; }

private:
    struct Opzione {
        QCommandLineOption opzione;
        Presenza presenza;
    };
    struct Argomento {
        QString nome, descrizione;
    };
    QString problema(const QCommandLineParser &p, bool letto) const;

    QString m_nome, m_descrizione;
    Richiede m_richiede;
    Applicazione m_applicazione;
    QList<Opzione> m_opzioni;
    QList<Argomento> m_argomenti;
};

// Prints the message and the command's usage on stderr; returns kUsoErrato.
int usoErrato(const Comando &c, const QString &messaggio);

// What is wrong with a parsed command line before the command's own rules: the parser's
// error (unknown option, missing value), or an option given twice. Empty when nothing.
QString erroreLettura(const QCommandLineParser &p, bool letto);

// The parser's own messages (a missing value, an unknown option) in Italian, for as long
// as the application lives.
void installaMessaggiParser(QCoreApplication &app);

// A path typed on the command line, relative ones taken in the current folder.
QString percorsoDaRiga(const QString &p);
// A whole number of the command line ("7", " 12 "), -1 when the text is not one.
qlonglong numeroDaRiga(const QString &t);
// "G:N", an operator: a one-letter group and a positive number; empty when it is not one.
QStringList operatoreDaRiga(const QString &t);

} // namespace quirdal
