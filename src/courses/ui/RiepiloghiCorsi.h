#pragma once
// The two reports the course sheet opens: "Verifica tutti i corsi", the problems of every
// course of the application, and "Riepilogo corsi accorpati", the summary amounts of a main
// course and the courses merged into it.
#include "courses/VerificaCorso.h"

#include <optional>

class QWidget;

namespace quirdal {

struct Contesto;
struct RiepilogoAccorpati;

// The problems, one a line; the one the user double-clicks, nothing when the list is closed.
std::optional<ProblemaCorso> frmProblemiCorsi(Contesto &c, const QList<ProblemaCorso> &problemi, QWidget *padre);

void RAccorp(const RiepilogoAccorpati &r, QWidget *padre);

} // namespace quirdal
