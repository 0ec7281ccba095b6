#pragma once
// Where a long operation shows its progress: the start-up screen's labels and bar, the
// main menu's waiting panel, the command line, a test.
#include <QString>

namespace quirdal {

class ProgressoCaricamento {
public:
    virtual ~ProgressoCaricamento() = default;
    virtual void fase(const QString &titolo, const QString &riga2)
    {
        (void)titolo;
        (void)riga2;
    }
    virtual void file(const QString &percorso, const QString &tabella, int totale)
    {
        (void)percorso;
        (void)tabella;
        (void)totale;
    }
    virtual void record(int caricati) { (void)caricati; }
    virtual void attendi(bool clessidra) { (void)clessidra; }
};

} // namespace quirdal
