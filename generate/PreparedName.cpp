#include "generate/PreparedName.h"

#include "app/shared/ProperCase.h"
#include "generate/RemoveSpaces.h"

QString PreparedName(const QString &entry)
{
    return ProperCase(RemoveSpaces(entry));
}
