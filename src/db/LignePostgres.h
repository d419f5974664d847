#pragma once

// What the PostgreSQL engine reads and sends as text: the values of its results and
// parameters, and the stepping read over libpq's single-row mode.

#include "db/Ligne.h"
#include "db/Moteur.h"

#include <libpq-fe.h>

namespace vyk {

TypeValeur typeOid(Oid oid);
// A cell's value from its text (DateStyle ISO); a text the type cannot read stays a text.
QVariant valeurTexte(const char *t, int n, Oid oid);
// Text of a parameter as the server reads it; a null QByteArray is SQL NULL.
QByteArray texteParametre(const QVariant &v);
QString erreurResultat(PGresult *r, PGconn *c);

// Parameters as libpq takes them: their texts kept alive, NULL as a null pointer.
class ParametresPg
{
  public:
    explicit ParametresPg(const QVector<QVariant> &parametres);
    int nombre() const { return int(m_valeurs.size()); }
    const char *const *valeurs() const { return m_valeurs.constData(); }

  private:
    QVector<QByteArray> m_textes;
    QVector<const char *> m_valeurs;
};

struct ResultatPg
{
    explicit ResultatPg(PGresult *r = nullptr) : r(r) {}
    ~ResultatPg() { PQclear(r); }
    ResultatPg(const ResultatPg &) = delete;
    ResultatPg &operator=(const ResultatPg &) = delete;
    ResultatPg(ResultatPg &&o) noexcept : r(o.r) { o.r = nullptr; }
    PGresult *r;
};

// One row of a result, read from libpq's text without a QVariant unless asked for one.
class LignePostgres : public Ligne
{
  public:
    // Points at row l of r; the columns are taken from the first result placed.
    void placer(const PGresult *r, int l);
    void suivante() { ++m_numero; }

    bool estNul(int c) const override { return PQgetisnull(m_r, m_l, c); }
    qint64 entier(int c) const override;
    double reel(int c) const override;
    QString texte(int c) const override;
    QByteArrayView utf8(int c) const override;
    QDateTime date(int c) const override;
    QVariant valeur(int c) const override;
    bool jourHeure(int c, QDate &jour, QTime &heure) const override;

  private:
    QByteArrayView octets(int c) const
    {
        return {PQgetvalue(m_r, m_l, c), PQgetlength(m_r, m_l, c)};
    }
    bool estDate(int c) const;
    // The text of a cell that reads as a number ("1" or "0" for a boolean); empty otherwise.
    QByteArrayView texteNombre(int c) const;

    const PGresult *m_r = nullptr;
    int m_l = 0;
    QVector<Oid> m_oids;
    QVector<TypeValeur> m_types;
    mutable std::unique_ptr<DatesRepetees> m_dates;
    mutable QVector<QByteArray> m_tampons;
};

// Sends sql (one statement, $n placeholders) and hands its rows to fonction one at a time. A
// stop asked by fonction lets the rest of the rows arrive unread. pasAPas: libpq's single-row
// mode (a result per row, memory for one row); otherwise the rows come in one result.
bool parcourirPostgres(PGconn *c, const QByteArray &sql, const QVector<QVariant> &parametres,
                       const FonctionLigne &fonction, QString &erreur, bool pasAPas = true);

} // namespace vyk
