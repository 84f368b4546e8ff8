#pragma once
// The promises of platform/FileAssociations.h as scripts, for every backend: the fake, the XDG
// desktop and Windows' classes. Each desktop keeps its own model of a type (XDG files several
// extensions under one MIME type, Windows makes each extension a type), so the desk says which
// extensions share one. A backend's test program includes this header once and instantiates the
// suite with a desk of its own. Free of Qt, so the Windows cross-build runs it too.
#include <platform/FileAssociations.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qinglan::test {

// One desktop with the backend on it, and what other programs do there.
class AssociationDesk {
public:
    enum class Opener { Nobody, Player, Other };

    virtual ~AssociationDesk() = default;
    virtual platform::FileAssociations& backend() = 0;
    virtual platform::AssociatedProgram program() = 0;
    // The program chosen to open a file of the extension now: the player, another program, or
    // none chosen (the desktop may then fall back on any program that can open the type).
    virtual Opener openerOf(const std::string& extension) = 0;
    // Another program makes itself the desktop's choice for the extension, as its installer
    // would.
    virtual void giveToOther(const std::string& extension) = 0;
    // Whether the desktop files both extensions as one type.
    virtual bool shareAType(const std::string& a, const std::string& b) = 0;
    // An extension the backend cannot associate here, or "" when it can associate any.
    virtual std::string unattainable() = 0;
};

struct AssociationDeskMaker {
    std::string name;
    friend void PrintTo(const AssociationDeskMaker& maker, std::ostream* out) {
        *out << maker.name;
    }
    std::function<std::unique_ptr<AssociationDesk>()> make;
};

inline std::string associationDeskName(const ::testing::TestParamInfo<AssociationDeskMaker>& info) {
    return info.param.name;
}

inline void PrintTo(AssociationDesk::Opener o, std::ostream* out) {
    *out << (o == AssociationDesk::Opener::Player  ? "the player"
             : o == AssociationDesk::Opener::Other ? "another program"
                                                   : "nobody");
}

class AssociationContract : public ::testing::TestWithParam<AssociationDeskMaker> {
protected:
    using Opener = AssociationDesk::Opener;
    void SetUp() override { desk = GetParam().make(); }
    std::vector<std::string> apply(std::vector<platform::FileTypeChoice> choices) {
        return desk->backend().apply(desk->program(), choices);
    }
    Opener opener(const std::string& extension) { return desk->openerOf(extension); }

    std::unique_ptr<AssociationDesk> desk;
};

TEST_P(AssociationContract, AssociatingPutsThePlayerFirstAndUnassociatingBringsBackTheEarlier) {
    desk->giveToOther("avi");
    ASSERT_EQ(opener("avi"), Opener::Other);
    ASSERT_EQ(opener("mkv"), Opener::Nobody);
    EXPECT_TRUE(apply({{"avi", true}, {"mkv", true}}).empty());
    EXPECT_EQ(opener("avi"), Opener::Player);
    EXPECT_EQ(opener("mkv"), Opener::Player);
    EXPECT_TRUE(apply({{"avi", true}, {"mkv", true}}).empty()); // the next start: the same
    EXPECT_EQ(opener("avi"), Opener::Player);

    EXPECT_TRUE(apply({{"avi", false}, {"mkv", false}}).empty());
    EXPECT_EQ(opener("avi"), Opener::Other);
    EXPECT_EQ(opener("mkv"), Opener::Nobody);
}

TEST_P(AssociationContract, ExtensionsNotNamedAreLeftAsTheyAre) {
    desk->giveToOther("mp4");
    EXPECT_TRUE(apply({{"avi", true}}).empty());
    EXPECT_TRUE(apply({{"mkv", true}}).empty());
    EXPECT_EQ(opener("avi"), Opener::Player);
    EXPECT_TRUE(apply({{"avi", false}}).empty());
    EXPECT_EQ(opener("mkv"), Opener::Player);
    EXPECT_EQ(opener("mp4"), Opener::Other);
}

TEST_P(AssociationContract, ExtensionsSharingATypeFollowTheDesktopsModel) {
    EXPECT_TRUE(apply({{"mpeg", false}, {"vob", true}}).empty());
    EXPECT_EQ(opener("vob"), Opener::Player);
    EXPECT_EQ(opener("mpeg"), desk->shareAType("mpeg", "vob") ? Opener::Player : Opener::Nobody);
    EXPECT_TRUE(apply({{"mpeg", false}, {"vob", false}}).empty());
    EXPECT_EQ(opener("vob"), Opener::Nobody);
    EXPECT_EQ(opener("mpeg"), Opener::Nobody);
}

TEST_P(AssociationContract, AnExtensionThatCannotBeAssociatedIsNamedAndTheRestAreDone) {
    const std::string bad = desk->unattainable();
    if (bad.empty()) GTEST_SKIP() << "every extension can be associated here";
    EXPECT_EQ(apply({{bad, true}, {"avi", true}}), std::vector<std::string>{bad});
    EXPECT_EQ(opener("avi"), Opener::Player);
}

} // namespace qinglan::test
