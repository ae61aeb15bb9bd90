// The settings reader for arbitrary bytes: parsing, every kind of read on
// the sections and keys the program asks for, and both loaders on a fresh
// boot-screen page and fresh parameter values, for the factory and the
// last-saved sections.

#include "FuzzSupport.h"

#include "bootscreen/BootScreenModel.h"
#include "params/IniFile.h"
#include "params/ParamCatalogue.h"
#include "params/SettingsLoader.h"

#include <QList>
#include <utility>

using namespace hmk;

namespace {

// The section and key pairs the program reads, each also with its name in
// other letter cases, plus an empty section and key.
using Entry = std::pair<QString, QString>;

const QList<Entry>& entries()
{
    static const QList<Entry> all = [] {
        QList<Entry> list;
        const auto add = [&](const QString& stem, const QString& key) {
            for (const QString& section : {stem, stem + QStringLiteral("Def")})
                list << Entry{section, key} << Entry{section.toUpper(), key.toLower()};
        };
        for (const char* key :
             {"MainTitle", "SubTitle", "DefaultTitle", "UsePic", "ChangePenColor", "MainTitleFont",
              "SubTitleFont", "NotEnableParam", "PicFileName", "MainTitleHint", "SubTitleHint"})
            add(QStringLiteral("Logo"), QString::fromLatin1(key));
        for (const ParamEntry& entry : catalogue()) {
            const QString stem = QString::fromLatin1(entry.paramGroup().stem);
            add(stem, entry.nameText());
            add(stem, entry.hintKey());
        }
        list << Entry{QString(), QString()} << Entry{QStringLiteral("Logo"), QString()};
        return list;
    }();
    return all;
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
    for (const auto& [section, key] : entries()) {
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
