#include "users/TablesUtilisateurs.h"

#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Sql.h"

#include <QStringList>

namespace vyk {

namespace {

struct Colonne
{
    const char *nom;
    const char *type;
};

// Columns in the order the suite's statements rely on (station grants are inserted without a
// column list by the other modules).
// clang-format off
const Colonne COLONNES_UTILISATEURS[] = {
    {"login", "Text(12)"},       {"password", "Text(12)"},      {"isAdmin", "Text(1)"},
    {"nom", "Text(255)"},        {"codeIntervenant", "Double"}, {"metadata", "Text(1)"},
    {"filtrePiezo", "Text(12)"}, {"filtreQualito", "Text(12)"}, {"filtrePluvio", "Text(12)"},
    {"filtreHydro", "Text(12)"}, {"codeContact", "Double"},
};
// clang-format on
const Colonne COLONNES_HABILITATIONS[] = {{"login", "Text(12)"}, {"habilitation", "Text(255)"}};
// 'QUALITO_NETWORK' has 15 characters: the mode column must hold at least that.
const Colonne COLONNES_STATIONS[] = {{"login", "Text(12)"},
                                     {"typeStation", "Text(12)"},
                                     {"identifiant", "Text(70)"},
                                     {"modeSelect", "Text(20)"}};
constexpr int LONGUEUR_MODE = 15;

template <std::size_t N> QString definition(const Colonne (&colonnes)[N])
{
    QStringList parties;
    for (const Colonne &c : colonnes)
        parties << QString::fromLatin1(c.nom) + u' ' + QString::fromLatin1(c.type);
    return parties.join(QStringLiteral(", "));
}

// Creates the table, or adds the columns it lacks. Returns the columns that were added.
template <std::size_t N>
QStringList assurerTable(const QString &table, const Colonne (&colonnes)[N])
{
    QStringList ajoutees;
    if (!bd().tableExiste(table)) {
        if (!bd().ExecuteDDL(QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" ( ") +
                             definition(colonnes) + QStringLiteral(")")))
            journaliserErreur(QStringLiteral("Création de la table ") + table,
                              bd().derniereErreur());
        return ajoutees;
    }
    const QStringList presentes = bd().colonnes(table);
    for (const Colonne &c : colonnes) {
        const QString nom = QString::fromLatin1(c.nom);
        if (presentes.contains(nom, Qt::CaseInsensitive)) continue;
        if (bd().ExecuteDDL(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD ") + nom +
                            u' ' + QString::fromLatin1(c.type)))
            ajoutees << nom;
        else
            journaliserErreur(QStringLiteral("Ajout de la colonne ") + nom + QStringLiteral(" à ") +
                                  table,
                              bd().derniereErreur());
    }
    return ajoutees;
}

// Declared width of the mode column on the servers (SQLite enforces no width); 0 when unknown.
int largeurMode()
{
    QString sql;
    if (bd().typeBase() == POSTGRESQL)
        sql = QStringLiteral(
            "SELECT character_maximum_length FROM information_schema.columns WHERE table_schema = "
            "current_schema() AND lower(table_name) = 'utilisateurs_stations' AND "
            "lower(column_name) = 'modeselect'");
    else if (bd().typeBase() == ORACLE)
        sql = QStringLiteral(
            "SELECT char_length FROM user_tab_columns WHERE table_name = 'UTILISATEURS_STATIONS' "
            "AND column_name = 'MODESELECT'");
    else
        return 0;
    return bd().valeur(sql).toInt();
}

} // namespace

bool assurerTablesUtilisateurs()
{
    if (!bd().estOuverte()) return false;
    const bool nouvelle = !bd().tableExiste(QStringLiteral("UTILISATEURS"));
    const QStringList ajoutees =
        assurerTable(QStringLiteral("UTILISATEURS"), COLONNES_UTILISATEURS);
    // One account per login (an older table gets the index through the upgrade, which first
    // reports the logins it holds twice).
    if (nouvelle)
        bd().ExecuteDDL(
            QStringLiteral("CREATE UNIQUE INDEX ux_utilisateurs_login ON UTILISATEURS (login)"));
    // An older users table without the reference-edit flag: its administrators keep the right
    // to edit the reference lists, everyone else starts without it.
    if (ajoutees.contains(QStringLiteral("metadata")))
        bd().Execute(QStringLiteral("UPDATE UTILISATEURS SET metadata = '1' WHERE isAdmin = '1'"));
    assurerTable(QStringLiteral("UTILISATEURS_HABILITATIONS"), COLONNES_HABILITATIONS);
    if (assurerTable(QStringLiteral("UTILISATEURS_STATIONS"), COLONNES_STATIONS)
            .contains(QStringLiteral("modeSelect")))
        bd().Execute(QStringLiteral("UPDATE UTILISATEURS_STATIONS set modeSelect='SINGLE'"));
    const int largeur = largeurMode();
    if (largeur > 0 && largeur < LONGUEUR_MODE)
        bd().ExecuteDDL(
            QStringLiteral("ALTER TABLE UTILISATEURS_STATIONS ALTER modeSelect Text(20)"));

    bool ok = false;
    const QVariant nb = bd().valeur(QStringLiteral("SELECT count(*) FROM UTILISATEURS"));
    const long long lignes = nb.toLongLong(&ok);
    if (!ok) return false;
    if (lignes == 0) {
        bd().Execute(QStringLiteral("insert into UTILISATEURS (login, password, isAdmin, nom, "
                                    "codeIntervenant, metadata) "
                                    "values (") +
                     sqlTexte(ADMIN_DEFAUT) + QStringLiteral(", ") + sqlTexte(MOT_DE_PASSE_DEFAUT) +
                     QStringLiteral(", '1', 'Administrateur', NULL, '1')"));
        journaliser(QStringLiteral("Création de l'administrateur par défaut"));
    }
    return true;
}

} // namespace vyk
