// The settings reader for arbitrary bytes: parsing, every kind of read on
// the sections and keys the program asks for, and both loaders on a fresh
// boot-screen page and fresh parameter values, for the factory and the
// last-saved sections.

#include "FuzzSupport.h"

#include "bootscreen/BootScreenModel.h"
#include "params/IniFile.h"
#include "params/ParamCatalogue.h"
#include "params/SettingsLoader.h"

#include <QStringList>

using namespace hmk;

namespace {

// The sections and keys the program reads, plus names that only differ in
// letter case or blanks from them.
struct Names
{
    QStringList sections;
    QStringList keys;
};

const Names& names()
{
    static const Names n = [] {
        Names names;
        QStringList stems{QStringLiteral("Logo")};
        for (const ParamGroup& group : paramGroups())
            stems << QString::fromLatin1(group.stem);
        for (const QString& stem : stems)
            names.sections << stem << stem + QStringLiteral("Def") << stem.toUpper();
        names.sections << QString() << QStringLiteral(" Logo ");
        names.keys << QStringLiteral("MainTitle") << QStringLiteral("SubTitle")
                   << QStringLiteral("DefaultTitle") << QStringLiteral("UsePic")
                   << QStringLiteral("ChangePenColor") << QStringLiteral("MainTitleFont")
                   << QStringLiteral("SubTitleFont") << QStringLiteral("NotEnableParam")
                   << QStringLiteral("PicFileName") << QStringLiteral("MainTitleHint")
                   << QStringLiteral("SubTitleHint") << QString();
        for (const ParamEntry& entry : catalogue())
            names.keys << entry.nameText() << entry.hintKey() << entry.nameText().toLower();
        return names;
    }();
    return n;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const IniFile ini = IniFile::fromBytes(QByteArrayView(data, qsizetype(size)));
    for (const QString& section : names().sections) {
        for (const QString& key : names().keys) {
            const bool present = ini.hasKey(section, key);
            const QString text = ini.ReadString(section, key, QStringLiteral("\x01"));
            HMK_FUZZ_CHECK(text.size() <= 2047);
            HMK_FUZZ_CHECK(present || text == QStringLiteral("\x01"));
            // A value that does not read gives the default, whichever it is.
            const int i1 = ini.ReadInteger(section, key, 1);
            const int i2 = ini.ReadInteger(section, key, 2);
            HMK_FUZZ_CHECK(i1 == i2 || (i1 == 1 && i2 == 2));
            HMK_FUZZ_CHECK(ini.ReadBool(section, key, false) == ini.ReadBool(section, key, true) ||
                           i1 != i2);
            const double f1 = ini.ReadFloat(section, key, 1.5);
            const double f2 = ini.ReadFloat(section, key, 2.5);
            HMK_FUZZ_CHECK(f1 == f2 || (f1 == 1.5 && f2 == 2.5) || (f1 != f1 && f2 != f2));
        }
    }

    for (const bool factory : {true, false}) {
        BootScreenModel boot;
        ParamValues values = formValues();
        int messages = 0;
        const SettingsLoad load =
            LoadSettings(ini, factory, boot, values, [&](const QString&) { ++messages; });
        HMK_FUZZ_CHECK(messages <= 1);
        HMK_FUZZ_CHECK(load.error.ok() || !load.paramsRead);
        HMK_FUZZ_CHECK(boot.styleIndex() >= -1 && boot.styleIndex() <= 1);
        for (const ParamEntry& entry : catalogue()) {
            if (entry.kind == ControlKind::Choice) {
                const int choice = values[paramIndex(entry)].choice;
                HMK_FUZZ_CHECK(choice >= -1 && choice < entry.choiceCount());
            }
        }
    }
    const QHash<QString, QString> hints = LoadHints(ini);
    HMK_FUZZ_CHECK(!hints.contains(QStringLiteral("ServoType")));
    return 0;
}
