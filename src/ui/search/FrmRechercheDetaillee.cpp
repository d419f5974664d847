#include "ui/search/FrmRechercheDetaillee.h"

#include "app/Csv.h"
#include "db/Messages.h"
#include "ui/search/ModelesRecherche.h"
#include "ui/widgets/DialogueExport.h"

#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vyk {

FrmRechercheDetaillee::FrmRechercheDetaillee(std::shared_ptr<const ResultatRecherche> resultat,
                                             Regroupement regroupement, QWidget *parent)
    : Ecran(parent), m_modele(new ModeleTexteRecherche(this))
{
    setWindowTitle(titreDetail(regroupement));
    resize(1000, 600);
    GrilleDetaillee d = grilleDetaillee(*resultat, regroupement);
    const int classe = int(d.grille.titres.indexOf(QStringLiteral("Classe max")));
    m_modele->definir(
        std::move(d.grille), [couleurs = std::move(d.couleurs), classe](int ligne, int colonne) {
            return colonne == classe ? couleurRecherche(couleurs.value(ligne, -1)) : QColor();
        });
    SprDetail = creerVueRecherche(this, m_modele);
    CmdExporter = new QPushButton(QStringLiteral("Exporter vers Excel"), this);
    nommerControles({{SprDetail, "SprDetail"}, {CmdExporter, "CmdExporter"}});
    auto *mise = new QVBoxLayout(this);
    mise->addWidget(SprDetail, 1);
    mise->addWidget(CmdExporter, 0, Qt::AlignRight);
    connect(CmdExporter, &QPushButton::clicked, this, [this] { exporter(); });
}

void FrmRechercheDetaillee::exporter(const QString &chemin)
{
    const QString fichier =
        chemin.isEmpty() ? demanderCheminExport(this, windowTitle(), QStringLiteral("Detail"))
                         : chemin;
    if (fichier.isEmpty()) return;
    QString erreur;
    if (!exporterGrilleFichier(fichier, QStringLiteral("Détail"), m_modele->grille().titres,
                               m_modele->grille().lignes, &erreur))
        afficherMessage(GENRE_ERREUR, erreur);
}

} // namespace vyk
