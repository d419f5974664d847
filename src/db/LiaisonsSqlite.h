#pragma once

// Values bound to the parameters of a SQLite statement.

#include "db/NulSql.h"

#include <QByteArray>
#include <QVariant>
#include <QVector>

#include <vector>

struct sqlite3_stmt;

namespace vyk {

// Binds a statement's parameters, in order. Texts are written into buffers of the binder that
// stay put until the next binding, so SQLite reads them there instead of copying them; a
// parameter that is NULL and was already NULL is not bound again. The binder must outlive the
// statement's steps, and be the only one binding it.
class LiaisonsSqlite
{
  public:
    explicit LiaisonsSqlite(sqlite3_stmt *st);
    // Parameters beyond valeurs are NULL; values beyond the parameters are ignored. SQLITE_OK, or
    // the code of the first binding refused.
    int lier(const QVector<QVariant> &valeurs);

  private:
    int lierValeur(int i, const QVariant &v);
    int lierTexte(int i);

    sqlite3_stmt *m_st;
    std::vector<QByteArray> m_tampons;
    std::vector<char> m_lies; // parameters holding a value (not NULL)
};

// The bytes a text is stored as: those of QString::toUtf8(), written into tampon (reused).
void ecrireUtf8(QStringView texte, QByteArray &tampon);

} // namespace vyk
