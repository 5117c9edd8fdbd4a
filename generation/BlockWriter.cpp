// Choosing a letter's block writer; see BlockWriter.h.
#include "generation/BlockWriter.h"

namespace scribvane {

const BlockWriter& WriterFor(BlockDialect dialect) {
    return dialect == BlockDialect::Html5 ? Html5Writer() : LegacyWriter();
}

} // namespace scribvane
