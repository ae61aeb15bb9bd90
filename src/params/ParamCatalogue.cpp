#include "ParamCatalogue.h"

#include "CatalogueTable.h"

namespace hmk {

using catalogue_table::Catalogue;
using catalogue_table::Groups;

const std::array<ParamGroup, ParamGroupCount>& paramGroups()
{
    return Groups;
}

const std::array<ParamEntry, ParamCount>& catalogue()
{
    return Catalogue;
}

const ParamEntry* findParam(QStringView name)
{
    for (const ParamEntry& e : Catalogue) {
        if (name == QLatin1String(e.name))
            return &e;
    }
    return nullptr;
}

int paramIndex(const ParamEntry& entry)
{
    return static_cast<int>(&entry - Catalogue.data());
}

} // namespace hmk
