#include "ui/widgets/ModeleSaisie.h"

namespace vyk {

namespace {
// A read-only cell shows its text as it is, whatever its column's kind.
NatureChamp natureDe(const ColonneSaisie &c)
{
    return c.lecture ? NatureChamp::Texte : c.nature;
}

// A date, time, year or number the save would refuse: its message, "" for a readable one. The
// cell keeps showing it once its editor has closed, as a form's field does.
QString defautCellule(const ColonneSaisie &c, const QString &texte)
{
    const NatureChamp nature = natureDe(c);
    if (texte.trimmed().isEmpty() || nature == NatureChamp::Texte || nature == NatureChamp::Memo ||
        nature == NatureChamp::Code || nature == NatureChamp::OuiNon)
        return {};
    ChampDecrit champ;
    champ.libelle = c.titre;
    champ.nature = nature;
    return messageSaisie(champ, champ.defaut(texte));
}
} // namespace

std::shared_ptr<const ModeleSaisie::Genre> ModeleSaisie::genreDe(const ColonneSaisie &colonne)
{
    auto g = std::make_shared<Genre>();
    g->colonne = colonne;
    // What a coded cell shows for each code: "label [code]", or the code when it has no label.
    if (colonne.nature == NatureChamp::Code) {
        g->libelles.reserve(colonne.entrees.size());
        for (const EntreeCodee &e : colonne.entrees)
            if (!g->libelles.contains(e.code))
                g->libelles.insert(e.code,
                                   e.libelle.isEmpty() ? e.code : texteEntree(e.libelle, e.code));
    }
    return g;
}

void ModeleSaisie::definirColonnes(const QVector<ColonneSaisie> &colonnes)
{
    beginResetModel();
    m_colonnes = colonnes;
    m_genres.clear();
    for (const ColonneSaisie &c : colonnes)
        m_genres.append(genreDe(c));
    m_lignes.clear();
    endResetModel();
}

bool ModeleSaisie::existe(int ligne, int colonne) const
{
    return ligne >= 0 && ligne < m_lignes.size() && colonne >= 0 && colonne < m_colonnes.size();
}

const ModeleSaisie::Genre &ModeleSaisie::genreCellule(int ligne, int colonne) const
{
    if (ligne >= 0 && ligne < m_lignes.size()) {
        const auto it = m_lignes[ligne].propres.constFind(colonne);
        if (it != m_lignes[ligne].propres.constEnd()) return **it;
    }
    static const Genre aucun;
    return colonne >= 0 && colonne < m_genres.size() ? *m_genres[colonne] : aucun;
}

const ColonneSaisie &ModeleSaisie::genre(int ligne, int colonne) const
{
    return genreCellule(ligne, colonne).colonne;
}

void ModeleSaisie::definirCellule(int ligne, int colonne, const ColonneSaisie &genre)
{
    if (!existe(ligne, colonne)) return;
    const QString avant = texte(ligne, colonne);
    m_lignes[ligne].propres.insert(colonne, genreDe(genre));
    ecrire(ligne, colonne, avant);
}

ModeleSaisie::Cellule ModeleSaisie::cellule(const Genre &genre, const QString &brut) const
{
    const QString texte = brut.trimmed();
    switch (natureDe(genre.colonne)) {
    case NatureChamp::OuiNon:
        return {texte == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0"), {}};
    case NatureChamp::Code: {
        // A code its entries lack shows the text that gave it (an inactive row's label).
        const QString code = codeEntree(texte);
        QString libelle = genre.libelles.value(code);
        if (libelle.isEmpty() && !code.isEmpty()) libelle = texte;
        return {code, libelle};
    }
    default:
        return {brut, {}};
    }
}

ModeleSaisie::Ligne ModeleSaisie::ligneVide() const
{
    Ligne l;
    l.cellules.reserve(m_genres.size());
    for (const auto &g : m_genres)
        l.cellules.append(cellule(*g, {}));
    return l;
}

int ModeleSaisie::ajouterLigne()
{
    const int l = int(m_lignes.size());
    beginInsertRows({}, l, l);
    m_lignes.append(ligneVide());
    endInsertRows();
    return l;
}

void ModeleSaisie::definirNbLignes(int n)
{
    beginResetModel();
    m_lignes = QVector<Ligne>(std::max(n, 0), ligneVide());
    endResetModel();
}

void ModeleSaisie::retirerLigne(int ligne)
{
    if (ligne < 0 || ligne >= m_lignes.size()) return;
    beginRemoveRows({}, ligne, ligne);
    m_lignes.remove(ligne);
    endRemoveRows();
}

void ModeleSaisie::remplir(const QVector<QStringList> &lignes)
{
    beginResetModel();
    const Ligne vide = ligneVide();
    m_lignes.clear();
    m_lignes.reserve(lignes.size());
    for (const QStringList &textes : lignes) {
        Ligne l = vide;
        for (int c = 0; c < m_genres.size() && c < textes.size(); ++c)
            l.cellules[c] = cellule(*m_genres[c], textes[c]);
        m_lignes.append(std::move(l));
    }
    endResetModel();
}

QString ModeleSaisie::texte(int ligne, int colonne) const
{
    return existe(ligne, colonne) ? m_lignes[ligne].cellules[colonne].valeur : QString();
}

QString ModeleSaisie::affiche(int ligne, int colonne) const
{
    if (!existe(ligne, colonne)) return {};
    const Cellule &c = m_lignes[ligne].cellules[colonne];
    switch (natureDe(genre(ligne, colonne))) {
    case NatureChamp::Code:
        return c.affiche;
    case NatureChamp::OuiNon:
        return {};
    default:
        return c.valeur;
    }
}

void ModeleSaisie::ecrire(int ligne, int colonne, const QString &texte)
{
    if (!existe(ligne, colonne)) return;
    m_lignes[ligne].cellules[colonne] = cellule(genreCellule(ligne, colonne), texte);
    const QModelIndex i = index(ligne, colonne);
    emit dataChanged(i, i);
}

void ModeleSaisie::definirModifiable(bool modifiable)
{
    if (modifiable == m_modifiable) return;
    m_modifiable = modifiable;
    if (!m_lignes.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int ModeleSaisie::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lignes.size());
}

int ModeleSaisie::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colonnes.size());
}

QVariant ModeleSaisie::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) return {};
    const int l = index.row(), c = index.column();
    const ColonneSaisie &g = genre(l, c);
    switch (role) {
    case Qt::DisplayRole:
        return affiche(l, c);
    case Qt::EditRole:
        return texte(l, c);
    case Qt::CheckStateRole:
        if (natureDe(g) != NatureChamp::OuiNon) return {};
        return texte(l, c) == QLatin1String("1") ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        if (natureDe(g) != NatureChamp::Nombre) return {};
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // Read-only cells stay readable; their background tells they are not typed.
        if (g.lecture) return QVariant(m_fondLecture);
        return defautCellule(g, texte(l, c)).isEmpty() ? QVariant() : fondSaisieIncorrecte();
    case Qt::ToolTipRole: {
        const QString defaut = defautCellule(g, texte(l, c));
        return defaut.isEmpty() ? QVariant() : QVariant(defaut);
    }
    default:
        return {};
    }
}

QVariant ModeleSaisie::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_colonnes.size())
        return m_colonnes[section].titre;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ModeleSaisie::flags(const QModelIndex &index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags d = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const ColonneSaisie &g = genre(index.row(), index.column());
    if (!m_modifiable || g.lecture) return d;
    return d | (g.nature == NatureChamp::OuiNon ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool ModeleSaisie::setData(const QModelIndex &index, const QVariant &valeur, int role)
{
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    QString texte;
    if (role == Qt::CheckStateRole)
        texte = valeur.toInt() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
    else if (role == Qt::EditRole)
        texte = valeur.toString();
    else
        return false;
    ecrire(index.row(), index.column(), texte);
    emit celluleModifiee(index.row(), index.column());
    return true;
}

} // namespace vyk
