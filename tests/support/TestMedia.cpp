#include "support/TestMedia.h"

namespace qinglan::test {

std::filesystem::path mediaDir() {
    return QINGLAN_TEST_MEDIA_DIR;
}
std::filesystem::path media(const char* name) {
    return mediaDir() / name; // names are UTF-8, which is what Linux paths carry
}
std::filesystem::path buildDir() {
    return QINGLAN_BUILD_DIR;
}
std::filesystem::path sourceDir() {
    return QINGLAN_SOURCE_DIR;
}

} // namespace qinglan::test
