#pragma once
// The prints from the command line: "stampa", and the application object it needs (fonts
// and a PDF writer need a GUI application, which runs headless here).
#include <QCoreApplication>
#include <QStringList>
#include <memory>

namespace quirdal {

struct Contesto;

// stampa --prov P --grupope G --operatore N --modo BOZZA|ORIGINALE [--sede C] [--pdf FILE]
int comandoStampa(Contesto &c, const QStringList &argomenti);

// A GUI application without a display when the command prints, a core application otherwise.
std::unique_ptr<QCoreApplication> applicazioneCli(int &argc, char **argv);

} // namespace quirdal
