#pragma once

#include <QString>

namespace vyk {

// Column types in the neutral notation of the table catalogue.
enum class TypeNeutre
{
    Texte,
    Court,
    Long,
    Reel,
    DateHeure,
    Memo,
    OuiNon,
    Auto
};

// Numbers of every size (a counter is not typed, so it is not one).
inline bool estNumerique(TypeNeutre t)
{
    return t == TypeNeutre::Reel || t == TypeNeutre::Court || t == TypeNeutre::Long;
}

// Every word that differs between backends, for callers that write backend-specific SQL.
// Statements in the desktop dialect need none of it: the engine layer translates them.
class Dialecte
{
  public:
    static const Dialecte &pour(const QString &typeBase);

    QString typeBase() const { return m_type; }
    // The type word of the backend; taille for texts.
    QString motType(TypeNeutre type, int taille = 0) const;
    // Text concatenation between columns: " || " on every engine.
    QString concatenation() const;
    QString fonctionFormatDate() const;
    QString maintenant() const;
    // Statement giving the highest numeric code of a referential table (new code = max + 1).
    QString codeNumeriqueMax(const QString &table,
                             const QString &colonne = QStringLiteral("code")) const;

  private:
    explicit Dialecte(QString type) : m_type(std::move(type)) {}
    QString m_type;
};

} // namespace vyk
