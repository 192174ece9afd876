#include "grid_model.h"

namespace grid_test {
PLAT_DEFINE_CLASS(Labelled, plat::Object, plat::property("label", &Labelled::label), plat::property("rank", &Labelled::rank))
PLAT_DEFINE_CLASS(Record, plat::Object, plat::property("id", &Record::id), plat::property("name", &Record::name),
                  plat::property("score", &Record::score), plat::property("active", &Record::active),
                  plat::property("joined", &Record::joined))
}  // namespace grid_test
