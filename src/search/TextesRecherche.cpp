#include "search/Recherche.h"

#include "db/Tableau.h"

namespace vyk {

namespace {

// The number whose QString::number is exactly these characters (no sign, no leading zero, below
// 2^31); -1 for any other text.
template <typename Caractere> qint64 nombreCanonique(const Caractere *c, qsizetype n)
{
    if (n == 0 || n > 10 || (n > 1 && c[0] == '0')) return -1;
    qint64 v = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (c[i] < '0' || c[i] > '9') return -1;
        v = v * 10 + (c[i] - '0');
    }
    return v < 0x80000000LL ? v : -1;
}

} // namespace

TextesRecherche::TextesRecherche()
{
    m_textes << QString();
    m_index.emplace(std::string(), 0u);
}

CelluleRecherche TextesRecherche::ajouter(QString texte, std::string cle)
{
    const auto i = quint32(m_textes.size());
    m_textes << std::move(texte);
    m_index.emplace(std::move(cle), i);
    return CelluleRecherche(CelluleRecherche::TEXTE | i);
}

CelluleRecherche TextesRecherche::cellule(QByteArrayView utf8)
{
    if (utf8.isEmpty()) return {};
    const qint64 n = nombreCanonique(utf8.data(), utf8.size());
    if (n >= 0) return CelluleRecherche(quint32(n));
    const auto it = m_index.find(std::string_view(utf8.data(), size_t(utf8.size())));
    if (it != m_index.end()) return CelluleRecherche(CelluleRecherche::TEXTE | it->second);
    return ajouter(QString::fromUtf8(utf8), std::string(utf8.data(), size_t(utf8.size())));
}

CelluleRecherche TextesRecherche::cellule(const QString &texte)
{
    if (texte.isEmpty()) return {};
    const qint64 n = nombreCanonique(texte.utf16(), texte.size());
    if (n >= 0) return CelluleRecherche(quint32(n));
    std::string cle = texte.toStdString();
    const auto it = m_index.find(cle);
    if (it != m_index.end()) return CelluleRecherche(CelluleRecherche::TEXTE | it->second);
    return ajouter(texte, std::move(cle));
}

QString TextesRecherche::texte(CelluleRecherche c) const
{
    if (!(c.m_valeur & CelluleRecherche::TEXTE)) return QString::number(c.m_valeur);
    return m_textes.value(qsizetype(c.m_valeur & ~CelluleRecherche::TEXTE));
}

QString ResultatRecherche::resultat(const LigneResultat &l) const
{
    switch (l.forme) {
    case FormeResultat::Vide:
        return {};
    case FormeResultat::Nombre:
        return texteValeur(QVariant(l.valeur));
    case FormeResultat::Inferieur:
        return u'<' + texteValeur(QVariant(l.valeur));
    case FormeResultat::Superieur:
        return u'>' + texteValeur(QVariant(l.valeur));
    case FormeResultat::Texte:
        return texte(l.texteResultat);
    }
    return {};
}

} // namespace vyk
