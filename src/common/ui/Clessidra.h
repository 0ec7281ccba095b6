#pragma once
// The hourglass pointer while the program works: shown by the guard, taken away at the end
// of its scope however the scope ends. Each guard shows at most one hourglass and takes
// away only its own, so guards nest and an hourglass set by someone else stays.
#include <QList>

namespace quirdal {

class Clessidra {
public:
    explicit Clessidra(bool mostrata = true);
    ~Clessidra();
    Clessidra(const Clessidra &) = delete;
    Clessidra &operator=(const Clessidra &) = delete;

    // Shows or takes away this guard's hourglass (for a screen that turns it on and off).
    void mostra(bool si);
    bool mostrata() const { return m_mostrata; }

    // Every guard's hourglass away at once: nothing runs while a message shows.
    static void togliTutte();

private:
    bool m_mostrata = false;
    static QList<Clessidra *> s_attive;
};

} // namespace quirdal
