#pragma once

#include <QString>

namespace dv {

// The user's Documents folder without a trailing separator; empty when the
// system reports none. Never creates the folder.
QString documentsLocation();

// Same, but throws EGeneralError "Could not find MyDocuments folder location."
// when there is none.
QString GetMyDocuments();

} // namespace dv
