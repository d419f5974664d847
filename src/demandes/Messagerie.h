#pragma once

// The desktop's mail program, behind an interface so that tests record the call.

#include <QString>
#include <QStringList>

namespace vyk {

class Messagerie
{
  public:
    virtual ~Messagerie() = default;
    // Opens a new mail to `adresse` with the file attached; false when it could not start.
    virtual bool composer(const QString &adresse, const QString &sujet, const QString &fichier) = 0;
};

// xdg-email: the user finishes and sends the mail in the mail program. The screens start it
// detached; the command line waits for it (`attendre`) so that its failure is reported.
class MessagerieBureau : public Messagerie
{
  public:
    explicit MessagerieBureau(QString programme = QStringLiteral("xdg-email"),
                              bool attendre = false)
        : m_programme(std::move(programme)), m_attendre(attendre)
    {
    }
    bool composer(const QString &adresse, const QString &sujet, const QString &fichier) override;
    // The arguments given to the program.
    static QStringList arguments(const QString &adresse, const QString &sujet,
                                 const QString &fichier);

  private:
    QString m_programme;
    bool m_attendre;
};

} // namespace vyk
