#include "db/JeuEnregistrements.h"

#include "db/LexiqueSql.h"

#include "db/BaseDonnees.h"
#include "db/Moteur.h"
#include "db/Outils.h"
#include "db/Sql.h"

namespace vyk {

namespace {

const QString COLONNE_IDENTITE = QStringLiteral("vyk_rid");

// Position of the FROM of the outer SELECT, outside literals and parentheses; -1 when none.
qsizetype positionFrom(const QString &sql)
{
    lexique::Jetons jetons;
    lexique::decouper(sql, jetons);
    std::array<char, 24> tampon{};
    int profondeur = 0;
    for (const lexique::Jeton &j : jetons) {
        if (j.genre == lexique::Genre::Op && j.longueur == 1) {
            profondeur += j.c0 == u'(' ? 1 : j.c0 == u')' ? -1 : 0;
        } else if (j.genre == lexique::Genre::Ident && profondeur == 0 &&
                   lexique::majuscules(QStringView(sql).mid(j.debut, j.longueur), tampon) ==
                       "FROM") {
            return j.debut;
        }
    }
    return -1;
}

QString tableApresFrom(const QString &sql, qsizetype from)
{
    qsizetype i = from + 4;
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    if (i >= sql.size()) return {};
    if (sql[i] == u'"' || sql[i] == u'[') {
        const QChar fin = sql[i] == u'[' ? QChar(u']') : QChar(u'"');
        const qsizetype j = sql.indexOf(fin, i + 1);
        return j < 0 ? QString() : sql.mid(i + 1, j - i - 1);
    }
    qsizetype j = i;
    while (j < sql.size() && (sql[j].isLetterOrNumber() || sql[j] == u'_' || sql[j] == u'.'))
        ++j;
    return sql.mid(i, j - i);
}

} // namespace

bool BaseDonnees::AccesBase(const QString &sql, JeuEnregistrements &jeu, bool &trouve,
                            const QString &table)
{
    jeu.Close();
    trouve = false;
    if (!verifierOuverte(sql)) return false;
    const qsizetype from = positionFrom(sql);
    const QString nomTable = table.isEmpty() && from >= 0 ? tableApresFrom(sql, from) : table;
    if (from < 0 || nomTable.isEmpty()) {
        noterErreur(sql,
                    QStringLiteral("Le jeu d'enregistrements demande un SELECT sur une table."));
        return false;
    }
    const QString identite = m_moteur->colonneIdentite();
    QString liste = sql.left(from);
    // Oracle does not take "*, ROWID": the star is qualified.
    if (m_moteur->cible() == Cible::Oracle) {
        const qsizetype select = liste.indexOf(QLatin1String("SELECT"), 0, Qt::CaseInsensitive);
        if (select >= 0 && liste.mid(select + 6).trimmed() == QLatin1String("*"))
            liste = liste.left(select + 6) + u' ' + nomTable + QStringLiteral(".* ");
    }
    const QString requete = liste.trimmed() + QStringLiteral(", ") + identite +
                            QStringLiteral(" AS ") + COLONNE_IDENTITE + u' ' + sql.mid(from);
    Tableau t;
    long nb = 0;
    if (!ExtraireRecords(requete, nb, t)) return false;
    jeu.m_bd = this;
    jeu.m_table = nomTable;
    const int nbCol = t.nbColonnes() - 1;
    for (int c = 0; c < nbCol; ++c) {
        jeu.m_colonnes << t.colonnes()[c];
        jeu.m_types << t.type(c);
    }
    jeu.m_lignes.reserve(nb);
    for (int l = 0; l < nb; ++l) {
        QVector<QVariant> ligne(nbCol);
        for (int c = 0; c < nbCol; ++c)
            ligne[c] = t(l, c);
        jeu.m_lignes << ligne;
        jeu.m_ids << t(l, nbCol);
        jeu.m_aRelire << false;
    }
    jeu.m_courant = nb > 0 ? 0 : -1;
    trouve = nb > 0;
    return true;
}

JeuEnregistrements::~JeuEnregistrements()
{
    Close();
}

int JeuEnregistrements::indexColonne(const QString &nom) const
{
    for (int i = 0; i < m_colonnes.size(); ++i)
        if (m_colonnes[i].compare(nom, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant JeuEnregistrements::valeur(const QString &nom) const
{
    const int c = indexColonne(nom);
    if (c < 0) return {};
    if (m_nouveau) return m_tampon.value(c);
    if (eof()) return {};
    if (m_aRelire[m_courant]) const_cast<JeuEnregistrements *>(this)->relire(m_courant);
    if (m_modifie.value(c)) return m_tampon.value(c);
    return m_lignes[m_courant][c];
}

QVariant JeuEnregistrements::convertir(int colonne, const QVariant &v) const
{
    if (v.typeId() == QMetaType::QDate) return QVariant(QDateTime(v.toDate(), QTime(0, 0)));
    if (v.typeId() != QMetaType::QString) return v;
    const QString t = v.toString();
    switch (m_types.value(colonne)) {
    case TypeValeur::DateHeure: {
        if (t.trimmed().isEmpty()) return {};
        const QDateTime d = lireDate(t);
        return d.isValid() ? QVariant(d) : v;
    }
    case TypeValeur::Reel:
    case TypeValeur::Entier: {
        const Nombre n = enNombre(t, true);
        if (n.estNul()) return {};
        return n.estNombre() ? QVariant(n.valeur) : v;
    }
    case TypeValeur::Booleen: {
        const QString u = t.trimmed().toUpper();
        if (u.isEmpty()) return {};
        if (u == QLatin1String("OUI") || u == QLatin1String("1") || u == QLatin1String("-1") ||
            u == QLatin1String("TRUE") || u == QLatin1String("VRAI"))
            return QVariant(true);
        if (u == QLatin1String("NON") || u == QLatin1String("0") || u == QLatin1String("FALSE") ||
            u == QLatin1String("FAUX"))
            return QVariant(false);
        return v;
    }
    default:
        return v;
    }
}

bool JeuEnregistrements::definir(const QString &nom, const QVariant &valeur)
{
    const int c = indexColonne(nom);
    if (c < 0) {
        m_erreur = QStringLiteral("Colonne inconnue : ") + nom;
        return false;
    }
    if (!m_nouveau && eof()) {
        m_erreur = QStringLiteral("Aucun enregistrement courant.");
        return false;
    }
    if (m_tampon.size() != m_colonnes.size()) {
        m_tampon = QVector<QVariant>(m_colonnes.size());
        m_modifie = QVector<bool>(m_colonnes.size(), false);
    }
    m_tampon[c] = convertir(c, valeur);
    m_modifie[c] = true;
    return true;
}

void JeuEnregistrements::addnew()
{
    if (!m_bd) return;
    m_nouveau = true;
    m_tampon = QVector<QVariant>(m_colonnes.size());
    m_modifie = QVector<bool>(m_colonnes.size(), false);
}

bool JeuEnregistrements::Update()
{
    if (!m_bd || !m_bd->moteur()) {
        m_erreur = QStringLiteral("Le jeu d'enregistrements est fermé.");
        return false;
    }
    Moteur *moteur = m_bd->moteur();
    QStringList colonnes;
    QVector<QVariant> valeurs;
    for (int c = 0; c < m_modifie.size(); ++c)
        if (m_modifie[c]) {
            colonnes << identifiantSql(m_colonnes[c]);
            valeurs << m_tampon[c];
        }
    if (!m_nouveau && (eof() || colonnes.isEmpty())) {
        m_modifie.fill(false);
        return !eof();
    }
    QString sql;
    const QString table = identifiantSql(m_table);
    if (m_nouveau) {
        if (colonnes.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marques;
            for (int i = 0; i < colonnes.size(); ++i)
                marques << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") +
                  colonnes.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                  marques.join(QStringLiteral(", ")) + u')';
        }
    } else {
        QStringList affectations;
        for (const QString &c : colonnes)
            affectations << c + QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") +
              affectations.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
              moteur->colonneIdentite() + QStringLiteral(" = ?");
        valeurs << m_ids[m_courant];
    }
    sql += moteur->clauseRetourIdentite();
    QString erreur;
    auto instruction = m_bd->instructionEnCache(m_bd->traduire(sql, true), erreur);
    if (!instruction) {
        m_erreur = erreur;
        m_bd->noterErreur(sql, erreur);
        return false;
    }
    Tableau retour;
    long long modifiees = 0;
    bool ok = instruction->executer(valeurs, &retour, &modifiees, erreur);
    m_bd->compterInstruction();
    if (ok && !m_nouveau && modifiees == 0) {
        // The row was changed or deleted meanwhile by another workstation.
        ok = false;
        erreur = LIGNE_DISPARUE;
    }
    if (!ok) {
        m_erreur = erreur;
        m_bd->noterErreur(sql, erreur);
        return false;
    }
    const QVariant id = !retour.estVide() ? retour(0, 0)
                        : m_nouveau       ? moteur->derniereIdentiteInseree()
                                          : QVariant();
    if (m_nouveau) {
        QVector<QVariant> ligne(m_colonnes.size());
        for (int c = 0; c < m_colonnes.size(); ++c)
            ligne[c] = m_modifie[c] ? m_tampon[c] : QVariant();
        m_lignes << ligne;
        m_ids << id;
        // Defaults and auto-numbered keys are read back on the next access.
        m_aRelire << true;
        m_courant = int(m_lignes.size()) - 1;
        m_nouveau = false;
    } else {
        for (int c = 0; c < m_modifie.size(); ++c)
            if (m_modifie[c]) m_lignes[m_courant][c] = m_tampon[c];
        if (id.isValid() && !id.isNull()) m_ids[m_courant] = id;
    }
    m_modifie.fill(false);
    return true;
}

bool JeuEnregistrements::relire(int ligne)
{
    m_aRelire[ligne] = false;
    Moteur *moteur = m_bd ? m_bd->moteur() : nullptr;
    if (!moteur || m_ids[ligne].isNull()) return false;
    const QString sql = QStringLiteral("SELECT * FROM ") + identifiantSql(m_table) +
                        QStringLiteral(" WHERE ") + moteur->colonneIdentite() +
                        QStringLiteral(" = ?");
    QString erreur;
    auto instruction = m_bd->instructionEnCache(m_bd->traduire(sql, true), erreur);
    Tableau t;
    if (!instruction || !instruction->executer({m_ids[ligne]}, &t, nullptr, erreur) || t.estVide())
        return false;
    for (int c = 0; c < m_colonnes.size(); ++c) {
        const int k = t.indexColonne(m_colonnes[c]);
        if (k >= 0) m_lignes[ligne][c] = t(0, k);
    }
    return true;
}

bool JeuEnregistrements::MoveNext()
{
    if (m_nouveau) {
        m_nouveau = false;
        m_modifie.fill(false);
    }
    if (m_courant < m_lignes.size()) ++m_courant;
    m_modifie.fill(false);
    return !eof();
}

bool JeuEnregistrements::Delete()
{
    if (!m_bd || !m_bd->moteur() || eof()) {
        m_erreur = QStringLiteral("Aucun enregistrement courant.");
        return false;
    }
    const QString sql = QStringLiteral("DELETE FROM ") + identifiantSql(m_table) +
                        QStringLiteral(" WHERE ") + m_bd->moteur()->colonneIdentite() +
                        QStringLiteral(" = ?");
    QString erreur;
    auto instruction = m_bd->instructionEnCache(m_bd->traduire(sql, true), erreur);
    const bool ok =
        instruction && instruction->executer({m_ids[m_courant]}, nullptr, nullptr, erreur);
    m_bd->compterInstruction();
    if (!ok) {
        m_erreur = erreur;
        m_bd->noterErreur(sql, erreur);
        return false;
    }
    m_lignes.remove(m_courant);
    m_ids.remove(m_courant);
    m_aRelire.remove(m_courant);
    return true;
}

void JeuEnregistrements::Close()
{
    m_bd = nullptr;
    m_table.clear();
    m_colonnes.clear();
    m_types.clear();
    m_lignes.clear();
    m_ids.clear();
    m_aRelire.clear();
    m_courant = -1;
    m_nouveau = false;
    m_tampon.clear();
    m_modifie.clear();
}

JeuEnregistrements::Champ &JeuEnregistrements::Champ::operator=(const QVariant &valeur)
{
    m_jeu->definir(m_nom, valeur);
    return *this;
}

QVariant JeuEnregistrements::Champ::valeur() const
{
    return m_jeu->valeur(m_nom);
}

QString JeuEnregistrements::Champ::texte() const
{
    return texteValeur(valeur());
}

} // namespace vyk
