#include "cli/ProgressionTerminal.h"

#include <cstdio>
#include <unistd.h>

namespace vyk::cli {

ProgressionTerminal::ProgressionTerminal() : m_actif(isatty(fileno(stderr)) != 0) {}

ProgressionTerminal::~ProgressionTerminal()
{
    if (m_dessine) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

void ProgressionTerminal::message(const QString &texte)
{
    m_message = texte;
    dessiner(true);
}

void ProgressionTerminal::position(long long valeur, long long maximum)
{
    m_pourcent = maximum > 0 ? int(valeur * 100 / maximum) : -1;
    dessiner(false);
}

void ProgressionTerminal::dessiner(bool forcer)
{
    if (!m_actif || (!forcer && m_dernier.isValid() && m_dernier.elapsed() < 100)) return;
    m_dernier.start();
    QString ligne = m_message.left(60);
    if (m_pourcent >= 0) ligne += QStringLiteral(" %1 %").arg(m_pourcent, 3);
    std::fprintf(stderr, "\r\033[K%s", qUtf8Printable(ligne));
    std::fflush(stderr);
    m_dessine = true;
}

} // namespace vyk::cli
