#include "indices/ExportsIndices.h"

namespace vyk {

std::unique_ptr<ExportIndice> creerExport(const DescriptionIndice &indice)
{
    switch (indice.trame) {
    case TrameIndice::Diatomees:
        return std::make_unique<ExportIBD>(indice);
    case TrameIndice::Macrophytes:
        return std::make_unique<ExportIBMR>(indice);
    case TrameIndice::Diagnostic:
        return std::make_unique<ExportDiagnostic>(indice);
    case TrameIndice::Hype:
        return std::make_unique<ExportHype>(indice);
    case TrameIndice::Macroinvertebres:
        break;
    }
    return std::make_unique<ExportMacroinvertebres>(indice);
}

} // namespace vyk
