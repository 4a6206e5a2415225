// The open scheme without a window: scheme names, creating, renaming and deleting schemes,
// adding, removing and moving devices with the modified flag, line and device modes in both line
// modes, the open-scheme walk's end and its stop by another choice, and when a search's end has
// something to show.
#include <QObject>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "frames/Registration.h"
#include "model/LineMode.h"
#include "model/Session.h"
#include "support/FakeHost.h"
#include "support/RunEvents.h"
#include "support/TestFrames.h"

namespace {

// A host whose device lists are the session's, as the window's are.
class SessionHost : public FakeHost {
public:
    explicit SessionHost(TSession& session) : session_(session) {}
    TDeviceList& Devices() override { return session_.Devices; }
    TDevicesByAddr& DevicesByAddr() override { return session_.DevicesByAddr; }

private:
    TSession& session_;
};

// Rows 7 to 10 lie at four different addresses; rows 1 and 4 share address 50.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterFrameClasses();
        bound = BindTestAnswerFrames({7, 8, 9, 10, 1, 4});
        handlers = host.Handlers();
        LineMode = LineModeMaster;
    }
    void TearDown() override
    {
        session.ReleaseDevices(nullptr);   // the devices' frames go before the host's panel
        LineMode = LineModeMaster;
    }

    TDeviceScheme* Scheme(const QString& name, std::initializer_list<std::pair<int, int>> objects = {})
    {
        document.Schemes.push_back(std::make_unique<TDeviceScheme>(name));
        for (const auto& [row, mode] : objects)
            document.Schemes.back()->Objects.push_back(
                std::make_unique<TSchemeObject>("Датчик", std::uint32_t(row), std::uint8_t(mode)));
        return document.Schemes.back().get();
    }
    // Shows the scheme with a device for each of its objects, as an ended walk leaves it.
    void Show(TDeviceScheme* scheme)
    {
        session.CurrentScheme = scheme;
        for (const auto& object : scheme->Objects)
            session.AddDevice(object.get(), &handlers, &host);
        document.Modified = 0;
    }
    std::vector<int> Modes(const TDeviceScheme* scheme) const
    {
        std::vector<int> modes;
        for (const auto& object : scheme->Objects)
            modes.push_back(object->Mode);
        return modes;
    }
    std::vector<int> Rows(const TDeviceScheme* scheme) const
    {
        std::vector<int> rows;
        for (const auto& object : scheme->Objects)
            rows.push_back(int(object->Type));
        return rows;
    }
    TDeviceInfo* Device(std::size_t i) const { return session.Devices.at(i).get(); }

    TDocument document;
    TSession session{document};
    SessionHost host{session};
    TFrameHandlers handlers;
    std::vector<std::unique_ptr<ScopedFrameClass>> bound;
};

}   // namespace

TEST_F(SessionTest, SchemesAreNamedCreatedRenamedAndDeleted)
{
    // clang-format off
    struct { const char* typed; QStringList existing; const char* created; } const cases[] = {
        {"", {}, "Схема 1"},
        {"", {QStringLiteral("Кран"), QStringLiteral("кран1")}, "Кран2"},   // the first shown, numbered on
        {"  Новая  ", {QStringLiteral("А")}, "Новая"},
        {"а", {QStringLiteral("А")}, "а1"},
    };
    // clang-format on
    for (const auto& c : cases) {
        document.Schemes.clear();
        for (const QString& name : c.existing)
            Scheme(name);
        const QString first = c.existing.isEmpty() ? QString() : c.existing.first();
        EXPECT_EQ(session.FreeSchemeName(QString::fromUtf8(c.typed), first), QString::fromUtf8(c.created));
    }

    document.Schemes.clear();
    document.Modified = 0;
    TDeviceScheme* created = session.CreateScheme(QStringLiteral("Б"));
    ASSERT_EQ(document.Schemes.size(), 1u);
    EXPECT_EQ(document.Schemes.back().get(), created);
    EXPECT_TRUE(created->Objects.empty() && document.Modified);
    EXPECT_EQ(session.SchemeNamed(QStringLiteral("б")), created);

    Show(Scheme(QStringLiteral("В"), {{7, 1}, {8, 1}}));
    session.RenameCurrentScheme(QStringLiteral("Я"));
    EXPECT_EQ(session.CurrentScheme->Name, QStringLiteral("Я"));
    EXPECT_TRUE(document.Modified);

    // Deleting the shown scheme lets go of its devices first.
    document.Modified = 0;
    session.DeleteScheme(session.CurrentScheme);
    EXPECT_TRUE(!session.CurrentScheme && session.Devices.empty() && !session.DevicesByAddr[7]);
    EXPECT_EQ(document.Schemes.size(), 1u);
    EXPECT_TRUE(document.Modified);
}

TEST_F(SessionTest, DevicesAreAddedRemovedAndMovedAndModifyTheDocument)
{
    TDeviceScheme* scheme = Scheme(QStringLiteral("S"));
    Show(scheme);
    // A new device is emulated in "Диагностика БИ" and received in "Диагностика датчиков".
    for (const auto& [lineMode, mode] : {std::pair{LineModeMaster, 1}, {LineModeSensors, 0}}) {
        LineMode = lineMode;
        const TSchemeObject* object = session.AddObject(QStringLiteral("Новый"), 7);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->Mode, mode) << "line mode " << lineMode;
        scheme->Objects.pop_back();
    }
    LineMode = LineModeMaster;
    for (int row : {7, 8, 9}) {
        document.Modified = 0;
        TDeviceInfo* added = session.AddDevice(session.AddObject(QStringLiteral("Д"), row), &handlers, &host);
        EXPECT_EQ(session.Devices.back().get(), added);
        EXPECT_EQ(session.DevicesByAddr[added->FrameInfo->Address], added);
        EXPECT_TRUE(document.Modified) << row;
    }
    EXPECT_EQ(session.NeighbourOf(Device(0)), Device(2));   // the first's is the last
    EXPECT_EQ(session.NeighbourOf(Device(2)), Device(1));

    // Moving swaps the objects; Devices keeps the poll order.
    document.Modified = 0;
    TDeviceInfo* first = Device(0);
    ASSERT_TRUE(session.SwapDevices(Device(2), Device(1)));
    EXPECT_EQ(Rows(scheme), (std::vector<int>{7, 9, 8}));
    EXPECT_EQ(Device(0), first);
    EXPECT_TRUE(document.Modified);

    document.Modified = 0;
    session.CurrentDevice = first;
    const int address = first->FrameInfo->Address;
    ASSERT_TRUE(session.RemoveDevice(first));
    EXPECT_TRUE(!session.CurrentDevice && !session.DevicesByAddr[address]);
    EXPECT_EQ(Rows(scheme), (std::vector<int>{9, 8}));
    EXPECT_EQ(session.Devices.size(), 2u);
    EXPECT_TRUE(document.Modified);

    // What is not the shown scheme's changes nothing.
    document.Modified = 0;
    TSchemeObject stranger("Чужой", 10, 1);
    TDeviceInfo outside(&stranger, &handlers, &host);
    EXPECT_FALSE(session.RemoveDevice(&outside));
    EXPECT_FALSE(session.SwapDevices(Device(0), &outside));
    EXPECT_EQ(session.NeighbourOf(&outside), nullptr);
    EXPECT_FALSE(document.Modified);
    EXPECT_EQ(session.Devices.size(), 2u);
}

TEST_F(SessionTest, LineAndDeviceModesInBothLineModes)
{
    TDeviceScheme* a = Scheme(QStringLiteral("A"), {{7, 0}, {8, 1}, {9, 2}});
    TDeviceScheme* b = Scheme(QStringLiteral("B"), {{10, 1}});
    // clang-format off
    struct { int lineMode; int apply; std::vector<int> a, b; } const cases[] = {
        {LineModeSensors, 1, {0, 0, 2}, {0}},   // received in "Диагностика датчиков", disabled stays
        {LineModeMaster,  1, {1, 1, 2}, {1}},   // emulated in "Диагностика БИ"
        {LineModeSensors, 0, {1, 1, 2}, {1}},   // a state file's modes are kept
    };
    // clang-format on
    for (const auto& c : cases) {
        session.ApplyModeToSchemes = std::uint8_t(c.apply);
        session.ChangeLineMode(c.lineMode);
        EXPECT_EQ(LineMode.load(), c.lineMode);
        EXPECT_EQ(Modes(a), c.a) << c.lineMode << " " << c.apply;
        EXPECT_EQ(Modes(b), c.b) << c.lineMode << " " << c.apply;
    }

    Show(a);
    EXPECT_FALSE(session.SetDeviceMode(0)) << "no device selected";
    session.CurrentDevice = Device(0);
    for (const auto& [mode, changed] : {std::pair{-1, false}, {3, false}, {1, false}, {2, true}, {0, true}})
        EXPECT_EQ(session.SetDeviceMode(mode), changed) << mode;
    EXPECT_EQ(Device(0)->SchemeObject->Mode, 0);
    EXPECT_EQ(session.CountActiveDevices(), 2);   // the third is disabled

    session.ToggleConstructorMode();
    EXPECT_EQ(session.ConstructorMode, 1);
    session.ToggleConstructorMode();
    EXPECT_EQ(session.ConstructorMode, 0);
}

TEST_F(SessionTest, TheWalkShowsWhatItBuiltAndAnotherChoiceStopsIt)
{
    QObject parent;
    TDeviceScheme* first = Scheme(QStringLiteral("A"), {{1, 0}, {4, 0}, {7, 0}, {8, 0}});
    TDeviceScheme* second = Scheme(QStringLiteral("B"), {{9, 0}});
    int ends = 0;
    bool shown = false;
    const auto start = [&](TDeviceScheme* scheme) {
        session.ReleaseDevices(scheme);
        // The end handler takes the walk over as the window's does: the walk deletes itself.
        session.StartWalk(&parent, &host, &handlers, [&] {
            ++ends;
            shown = session.TakeWalkedScheme();
            session.OpenSchemeThread = nullptr;
        });
    };
    start(first);
    EXPECT_EQ(session.PendingScheme, first);
    EXPECT_EQ(session.CurrentScheme, nullptr);
    ASSERT_TRUE(RunEventsUntil([&] { return ends == 1; }));
    EXPECT_TRUE(shown);
    EXPECT_EQ(session.CurrentScheme, first);
    EXPECT_EQ(session.Devices.size(), 3u) << "the second object at address 50 gives no device";

    // Another choice while a walk runs stops it: its end shows nothing, and no device stays.
    start(second);
    session.ReleaseDevices(first);
    ASSERT_TRUE(RunEventsUntil([&] { return ends == 2; }));
    EXPECT_FALSE(shown);
    EXPECT_EQ(session.CurrentScheme, nullptr);
    EXPECT_EQ(session.PendingScheme, first);
    EXPECT_TRUE(session.Devices.empty());
}

TEST_F(SessionTest, ASearchsEndShowsOnlyForAnEmptySchemeOrTheUsersSearch)
{
    TDeviceScheme* empty = Scheme(QStringLiteral("E"));
    TDeviceScheme* full = Scheme(QStringLiteral("F"), {{7, 1}});
    // clang-format off
    struct { TDeviceScheme* shown; int byUser; bool shows; } const cases[] = {
        {nullptr, 1, false},   // a scheme being opened has nothing to add to
        {empty, 0, true},
        {full, 0, false},
        {full, 1, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        session.CurrentScheme = c.shown;
        session.SearchByUser = std::uint8_t(c.byUser);
        EXPECT_EQ(session.SearchEndShows(), c.shows) << (c.shown ? c.shown->Name.toStdString() : "none") << c.byUser;
    }
}
