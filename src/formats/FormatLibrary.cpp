// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/FormatLibrary.h"

#include "core/Errors.h"
#include "formats/SnapshotChecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <libspectrum.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

namespace tessel {

namespace {

constexpr int kRamStart = 0x4000;
constexpr qsizetype kPageSize = 0x4000;

// libspectrum 1.5's readers look past the end of a short buffer (a .z80 cut
// inside its header is read on as if whole); the zeros that follow the data
// keep those reads inside our memory and their result fixed.
constexpr qsizetype kReadPadding = 4096;

bool fail(SnapshotFault* fault, SnapshotFault kind, QString* error, const QString& text)
{
    if (fault)
        *fault = kind;
    if (error)
        *error = text;
    return false;
}

// libspectrum reports through one global callback; calls are serialised and
// each collects what it was told.
std::mutex g_libraryMutex;
QStringList* g_messages = nullptr; // the current call's, under g_libraryMutex

#if defined(__GNUC__)
__attribute__((format(printf, 2, 0)))
#endif
libspectrum_error
collect(libspectrum_error, const char* format, va_list ap)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, ap);
    const QString message = QString::fromLocal8Bit(text).trimmed();
    if (g_messages)
        g_messages->append(message);
    else
        qWarning("libspectrum: %s", qUtf8Printable(message));
    // Unlike libspectrum's own handler, never abort: it does so on a "logic"
    // error, which junk in a file can cause.
    return LIBSPECTRUM_ERROR_NONE;
}

class LibraryCall
{
public:
    LibraryCall()
        : m_lock(g_libraryMutex)
    {
        static bool started = false;
        if (!started) {
            libspectrum_init();
            libspectrum_error_function = collect;
            started = true;
        }
        g_messages = &m_messages;
    }
    ~LibraryCall() { g_messages = nullptr; }
    LibraryCall(const LibraryCall&) = delete;
    LibraryCall& operator=(const LibraryCall&) = delete;

    // What the library said, for parentheses after a sentence; empty when
    // it said nothing.
    QString messages() const { return m_messages.join(QStringLiteral("; ")); }

private:
    std::lock_guard<std::mutex> m_lock;
    QStringList m_messages;
};

struct SnapDeleter
{
    void operator()(libspectrum_snap* snap) const { libspectrum_snap_free(snap); }
};
using Snap = std::unique_ptr<libspectrum_snap, SnapDeleter>;

// Why a file libspectrum knows is no snapshot, naming it; empty for a kind
// it has no word for.
QString notASnapshot(libspectrum_class_t kind, const QString& file)
{
    const char* text = nullptr;
    switch (kind) {
    case LIBSPECTRUM_CLASS_TAPE:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is a tape image, not a snapshot.");
        break;
    case LIBSPECTRUM_CLASS_DISK_PLUS3:
    case LIBSPECTRUM_CLASS_DISK_TRDOS:
    case LIBSPECTRUM_CLASS_DISK_OPUS:
    case LIBSPECTRUM_CLASS_DISK_PLUSD:
    case LIBSPECTRUM_CLASS_DISK_GENERIC:
    case LIBSPECTRUM_CLASS_DISK_DIDAKTIK:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is a disk image, not a snapshot.");
        break;
    case LIBSPECTRUM_CLASS_RECORDING:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is an input recording, not a "
                                                "snapshot.");
        break;
    case LIBSPECTRUM_CLASS_CARTRIDGE_TIMEX:
    case LIBSPECTRUM_CLASS_CARTRIDGE_IF2:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is a cartridge image, not a "
                                                "snapshot.");
        break;
    case LIBSPECTRUM_CLASS_HARDDISK:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is a hard disk image, not a "
                                                "snapshot.");
        break;
    case LIBSPECTRUM_CLASS_MICRODRIVE:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is a microdrive cartridge image, "
                                                "not a snapshot.");
        break;
    case LIBSPECTRUM_CLASS_SCREENSHOT:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is a screen picture, not a "
                                                "snapshot.");
        break;
    case LIBSPECTRUM_CLASS_AUXILIARY:
        text = QT_TRANSLATE_NOOP("Libspectrum", "The file %1 is a file of pokes, not a "
                                                "snapshot.");
        break;
    default:
        return {};
    }
    return QCoreApplication::translate("Libspectrum", text).arg(file);
}

bool runsOn48K(libspectrum_machine machine)
{
    // A 16K program runs on a 48K Spectrum, and an NTSC one differs only in
    // its frame timing. The Timex machines have their own ROM and video.
    return machine == LIBSPECTRUM_MACHINE_48 || machine == LIBSPECTRUM_MACHINE_48_NTSC
           || machine == LIBSPECTRUM_MACHINE_16;
}

struct Device
{
    int (*active)(libspectrum_snap*);
    int (*paged)(libspectrum_snap*); // its ROM in place of the Spectrum's
    const char* name; // a product's name, the same in every language
    HardwareWarning::Kind kind = HardwareWarning::Needed;
};

constexpr auto kSound = HardwareWarning::OutputOnly;
// Disk, storage and network interfaces: how the game was loaded, not what it
// runs on, unless their ROM was in use when it was saved.
constexpr auto kStorage = HardwareWarning::Noted;

const Device kDevices[] = {
    {libspectrum_snap_interface1_active, libspectrum_snap_interface1_paged, "Interface 1"},
    {libspectrum_snap_multiface_active, libspectrum_snap_multiface_paged, "Multiface"},
    {libspectrum_snap_interface2_active, nullptr, "Interface 2"},
    {libspectrum_snap_beta_active, libspectrum_snap_beta_paged, "Beta 128", kStorage},
    {libspectrum_snap_plusd_active, libspectrum_snap_plusd_paged, "+D", kStorage},
    {libspectrum_snap_disciple_active, libspectrum_snap_disciple_paged, "DISCiPLE", kStorage},
    {libspectrum_snap_opus_active, libspectrum_snap_opus_paged, "Opus Discovery", kStorage},
    {libspectrum_snap_didaktik80_active, libspectrum_snap_didaktik80_paged, "Didaktik 80",
     kStorage},
    {libspectrum_snap_usource_active, libspectrum_snap_usource_paged, "Currah µSource", kStorage},
    {libspectrum_snap_divide_active, libspectrum_snap_divide_paged, "DivIDE", kStorage},
    {libspectrum_snap_divmmc_active, libspectrum_snap_divmmc_paged, "DivMMC", kStorage},
    {libspectrum_snap_spectranet_active, libspectrum_snap_spectranet_paged, "Spectranet", kStorage},
    {libspectrum_snap_simpleide_active, nullptr, "Simple IDE", kStorage},
    {libspectrum_snap_zxatasp_active, nullptr, "ZXATASP", kStorage},
    {libspectrum_snap_zxcf_active, nullptr, "ZXCF", kStorage},
    {libspectrum_snap_zxmmc_active, nullptr, "ZXMMC", kStorage},
    {libspectrum_snap_kempston_mouse_active, nullptr, "Kempston Mouse"},
    {libspectrum_snap_ulaplus_active, nullptr, "ULAplus"},
    {libspectrum_snap_ttx2000s_active, nullptr, "TTX2000S"},
    {libspectrum_snap_fuller_box_active, nullptr, "Fuller Box", kSound},
    {libspectrum_snap_melodik_active, nullptr, "Melodik AY", kSound},
    {libspectrum_snap_specdrum_active, nullptr, "SpecDrum", kSound},
    {libspectrum_snap_covox_active, nullptr, "Covox", kSound},
};

// Emulators record what they had attached, not what the program uses: most
// .z80 saves name the AY, and many .szx the printer. So only what a program
// cannot run without is Needed; the rest is told, never asked.
QList<HardwareWarning> hardwareWarnings(libspectrum_snap* snap, const QString& file)
{
    QList<HardwareWarning> warnings;
    for (const Device& device : kDevices) {
        if (!device.active(snap))
            continue;
        const QString name = QString::fromUtf8(device.name);
        if (device.kind == kSound) {
            warnings.append(
                {kSound,
                 QCoreApplication::translate(
                     "Libspectrum",
                     "The file %1 was saved with the %2 attached; without one the program "
                     "may play without some of its sound.")
                     .arg(file, name),
                 QCoreApplication::translate(
                     "Libspectrum", "Saved with the %1: without one it plays without that sound.")
                     .arg(name)});
        } else if (device.paged && device.paged(snap)) {
            warnings.append(
                {HardwareWarning::Needed,
                 QCoreApplication::translate(
                     "Libspectrum",
                     "The file %1 was saved while the ROM of the %2 was paged in; the program "
                     "will likely not resume from the cartridge.")
                     .arg(file, name),
                 QCoreApplication::translate(
                     "Libspectrum",
                     "Saved with the ROM of the %1 paged in: it will likely not resume.")
                     .arg(name)});
        } else if (device.kind == kStorage) {
            warnings.append(
                {kStorage,
                 QCoreApplication::translate(
                     "Libspectrum", "The file %1 was saved with the %2 attached but not in "
                                    "use; the program runs without one.")
                     .arg(file, name),
                 QCoreApplication::translate("Libspectrum",
                                             "Saved with the %1 attached, not in use: it runs "
                                             "without one.")
                     .arg(name)});
        } else {
            warnings.append(
                {HardwareWarning::Needed,
                 QCoreApplication::translate(
                     "Libspectrum",
                     "The file %1 was saved with the %2 attached; the cartridge does not give "
                     "one, so the program may not work without it.")
                     .arg(file, name),
                 QCoreApplication::translate(
                     "Libspectrum", "Saved with the %1 attached: it may not work without one.")
                     .arg(name)});
        }
    }
    // Without a printer the ROM's printing routines return at once.
    if (libspectrum_snap_zx_printer_active(snap)) {
        warnings.append(
            {HardwareWarning::OutputOnly,
             QCoreApplication::translate(
                 "Libspectrum", "The file %1 was saved with a ZX Printer attached; without one the "
                                "program runs, but prints nothing.")
                 .arg(file),
             QCoreApplication::translate(
                 "Libspectrum",
                 "Saved with a ZX Printer attached: without one it prints nothing.")});
    }
    if (libspectrum_snap_custom_rom(snap)) {
        warnings.append(
            {HardwareWarning::Needed,
             QCoreApplication::translate(
                 "Libspectrum",
                 "The file %1 was saved with a ROM of its own; on the Spectrum's own ROM "
                 "the program may not work.")
                 .arg(file),
             QCoreApplication::translate(
                 "Libspectrum",
                 "Saved with a ROM of its own: it may not work on the Spectrum's ROM.")});
    }
    // Cursor and Sinclair joysticks read the keyboard, and every .z80 names
    // one of those by default; the others are interfaces the player plugs in.
    const auto joysticks = static_cast<int>(libspectrum_snap_joystick_active_count(snap));
    for (int i = 0; i < joysticks; ++i) {
        const libspectrum_joystick joystick = libspectrum_snap_joystick_list(snap, i);
        if (joystick == LIBSPECTRUM_JOYSTICK_CURSOR || joystick == LIBSPECTRUM_JOYSTICK_SINCLAIR_1
            || joystick == LIBSPECTRUM_JOYSTICK_SINCLAIR_2 || joystick == LIBSPECTRUM_JOYSTICK_NONE)
            continue;
        const QString name = QString::fromLatin1(libspectrum_joystick_name(joystick));
        warnings.append(
            {HardwareWarning::Joystick,
             QCoreApplication::translate(
                 "Libspectrum", "The file %1 was saved for a %2 joystick; the program may need one "
                                "attached to the Spectrum, or the keys chosen in its menu.")
                 .arg(file, name),
             QCoreApplication::translate(
                 "Libspectrum",
                 "Saved for a %1 joystick: attach one to the Spectrum, or choose keys in "
                 "the game.")
                 .arg(name)});
    }
    return warnings;
}

void putWord(char* at, int value)
{
    at[0] = static_cast<char>(value & 0xff);
    at[1] = static_cast<char>((value >> 8) & 0xff);
}

// The .sna form of a 48K or 16K snapshot whose SP has been checked: PC goes
// on the stack at SP - 2 and the header holds that lower SP. Of the state the
// form has no room for, IFF1 follows IFF2 (the loader's RETN copies it), the
// halted flag goes (PC already points at the HALT), and so do the T-states.
QByteArray toSna(libspectrum_snap* snap)
{
    QByteArray sna(kSnaFileSize, '\xff'); // a 16K machine has no RAM above 0x8000
    char* h = sna.data();
    h[0] = static_cast<char>(libspectrum_snap_i(snap));
    putWord(h + 1, libspectrum_snap_hl_(snap));
    putWord(h + 3, libspectrum_snap_de_(snap));
    putWord(h + 5, libspectrum_snap_bc_(snap));
    h[7] = static_cast<char>(libspectrum_snap_f_(snap));
    h[8] = static_cast<char>(libspectrum_snap_a_(snap));
    putWord(h + 9, libspectrum_snap_hl(snap));
    putWord(h + 11, libspectrum_snap_de(snap));
    putWord(h + 13, libspectrum_snap_bc(snap));
    putWord(h + 15, libspectrum_snap_iy(snap));
    putWord(h + 17, libspectrum_snap_ix(snap));
    h[19] = static_cast<char>(libspectrum_snap_iff2(snap) ? 0x04 : 0x00);
    h[20] = static_cast<char>(libspectrum_snap_r(snap));
    h[21] = static_cast<char>(libspectrum_snap_f(snap));
    h[22] = static_cast<char>(libspectrum_snap_a(snap));
    const int sp = (libspectrum_snap_sp(snap) - 2) & 0xffff;
    putWord(h + 23, sp);
    h[25] = static_cast<char>(libspectrum_snap_im(snap) & 0x03);
    h[26] = static_cast<char>(libspectrum_snap_out_ula(snap) & 0x07);

    // 0x4000, 0x8000 and 0xc000 lie in pages 5, 2 and 0, as on a 128K.
    char* ram = h + kSnaHeaderSize;
    const int pages[] = {5, 2, 0};
    for (int i = 0; i < 3; ++i) {
        if (const libspectrum_byte* page = libspectrum_snap_pages(snap, pages[i]))
            std::memcpy(ram + i * kPageSize, page, kPageSize);
    }
    putWord(ram + (sp - kRamStart), libspectrum_snap_pc(snap));
    return sna;
}

// A 128K's screen is in page 7 while bit 3 of its last write to port 0x7ffd
// is set; every other machine shows page 5 at 0x4000.
int screenPage(libspectrum_snap* snap)
{
    const libspectrum_machine machine = libspectrum_snap_machine(snap);
    const bool paged =
        libspectrum_machine_capabilities(machine) & LIBSPECTRUM_MACHINE_CAPABILITY_128_MEMORY;
    return paged && (libspectrum_snap_out_128_memoryport(snap) & 0x08) ? 7 : 5;
}

// The machine as a user knows it. A .sna's machine is libspectrum's guess
// from its length alone.
QString machineName(libspectrum_machine machine, libspectrum_id_t type)
{
    if (type == LIBSPECTRUM_ID_SNAPSHOT_SNA)
        return QStringLiteral("128K");
    const QString known = QString::fromLatin1(libspectrum_machine_name(machine));
    return known.startsWith(QLatin1Char('(')) ? QString() : known;
}

// Identifies and reads a snapshot; nothing, with the reason, for any other
// kind of file. A raw 48K .sna is not read: `raw` tells the caller. A .sp is
// read by our own code into *own (nothing there when it is refused).
Snap readSnap(QByteArrayView data, const QString& fileName, const LibraryCall& call,
              libspectrum_id_t* typeOut, bool* raw, std::optional<SnapshotRead>* own,
              SnapshotFault* fault, QString* error)
{
    const QString file = quotedPath(fileName);
    QByteArray padded(data.size() + kReadPadding, '\0');
    if (!data.isEmpty())
        std::memcpy(padded.data(), data.data(), static_cast<size_t>(data.size()));
    const auto* bytes = reinterpret_cast<const libspectrum_byte*>(padded.constData());
    const auto length = static_cast<size_t>(data.size());
    const QByteArray name = QFile::encodeName(QFileInfo(fileName).fileName());

    // The raw type: the type inside a compressed file would mean unpacking it
    // first, and a few hundred bytes of bzip2 unpack to gigabytes.
    libspectrum_id_t type = LIBSPECTRUM_ID_UNKNOWN;
    libspectrum_class_t kind = LIBSPECTRUM_CLASS_UNKNOWN;
    if (libspectrum_identify_file_raw(&type, name.constData(), bytes, length)
            != LIBSPECTRUM_ERROR_NONE
        || libspectrum_identify_class(&kind, type) != LIBSPECTRUM_ERROR_NONE) {
        const QString reason = call.messages();
        fail(fault, SnapshotFault::Unreadable, error,
             reason.isEmpty() ? QCoreApplication::translate(
                                    "Libspectrum", "The file %1 cannot be read as a snapshot.")
                                    .arg(file)
                              : QCoreApplication::translate(
                                    "Libspectrum", "The file %1 cannot be read as a snapshot (%2).")
                                    .arg(file, reason));
        return nullptr;
    }
    *typeOut = type;

    if (data.size() == kSnaFileSize
        && (type == LIBSPECTRUM_ID_SNAPSHOT_SNA || type == LIBSPECTRUM_ID_UNKNOWN)) {
        *raw = true;
        return nullptr;
    }

    if (kind == LIBSPECTRUM_CLASS_COMPRESSED) {
        fail(
            fault, SnapshotFault::Unreadable, error,
            QCoreApplication::translate(
                "Libspectrum", "The file %1 is compressed; unpack it and pick the snapshot inside.")
                .arg(file));
        return nullptr;
    }
    if (kind != LIBSPECTRUM_CLASS_SNAPSHOT) {
        const QString known = notASnapshot(kind, file);
        fail(fault, SnapshotFault::Unreadable, error,
             known.isEmpty()
                 ? QCoreApplication::translate(
                       "Libspectrum", "The file %1 is not a snapshot in any format the program "
                                      "reads.")
                       .arg(file)
                 : known);
        return nullptr;
    }

    // This library version's .sp reader writes past its buffer, and its
    // .z80 and .szx readers take damaged blocks or inflate without bound:
    // those files are read or checked by our own code first.
    if (type == LIBSPECTRUM_ID_SNAPSHOT_SP) {
        *own = readSpSnapshot(data, fileName, fault, error);
        return nullptr;
    }
    if ((type == LIBSPECTRUM_ID_SNAPSHOT_Z80 && !checkZ80Snapshot(data, fileName, fault, error))
        || (type == LIBSPECTRUM_ID_SNAPSHOT_SZX && !checkSzxSnapshot(data, fileName, fault, error)))
        return nullptr;

    Snap snap(libspectrum_snap_alloc());
    if (libspectrum_snap_read(snap.get(), bytes, length, type, name.constData())
        != LIBSPECTRUM_ERROR_NONE) {
        // A .sna has no header to tell its kind by: its length is what is wrong.
        const QString reason = call.messages();
        const QString size = QString::number(data.size());
        const QString snaSize = QString::number(kSnaFileSize);
        QString message;
        if (type == LIBSPECTRUM_ID_SNAPSHOT_SNA)
            message = reason.isEmpty()
                          ? QCoreApplication::translate(
                                "Libspectrum", "The file %1 is %2 bytes long; a 48K snapshot has "
                                               "%3 bytes.")
                                .arg(file, size, snaSize)
                          : QCoreApplication::translate(
                                "Libspectrum", "The file %1 is %2 bytes long; a 48K snapshot has "
                                               "%3 bytes (%4).")
                                .arg(file, size, snaSize, reason);
        else
            message = reason.isEmpty()
                          ? QCoreApplication::translate("Libspectrum",
                                                        "The file %1 is damaged or not a snapshot.")
                                .arg(file)
                          : QCoreApplication::translate(
                                "Libspectrum", "The file %1 is damaged or not a snapshot (%2).")
                                .arg(file, reason);
        fail(fault, SnapshotFault::Unreadable, error, message);
        return nullptr;
    }
    return snap;
}

} // namespace

std::optional<SnapshotRead> decodeSnapshot(QByteArrayView data, const QString& fileName,
                                           SnapshotFault* fault, QString* error)
{
    const QString file = quotedPath(fileName);
    LibraryCall call;
    libspectrum_id_t type = LIBSPECTRUM_ID_UNKNOWN;
    bool raw = false;
    std::optional<SnapshotRead> own;
    const Snap snap = readSnap(data, fileName, call, &type, &raw, &own, fault, error);
    if (own)
        return own;
    if (raw)
        return SnapshotRead{data.toByteArray(), {}};
    if (!snap)
        return std::nullopt;

    const libspectrum_machine machine = libspectrum_snap_machine(snap.get());
    if (!runsOn48K(machine)) {
        const QString known = machineName(machine, type);
        fail(fault, SnapshotFault::Machine, error,
             type == LIBSPECTRUM_ID_SNAPSHOT_SNA
                 ? QCoreApplication::translate("Libspectrum",
                                               "The file %1 is a 128K snapshot: the cartridge "
                                               "runs 48K programs.")
                       .arg(file)
             : known.isEmpty()
                 ? QCoreApplication::translate("Libspectrum",
                                               "The file %1 is an unknown machine's snapshot: "
                                               "the cartridge runs 48K programs.")
                       .arg(file)
                 : QCoreApplication::translate("Libspectrum",
                                               "The file %1 is a %2 snapshot: the cartridge "
                                               "runs 48K programs.")
                       .arg(file, known));
        return std::nullopt;
    }

    const bool all48K = machine != LIBSPECTRUM_MACHINE_16;
    if (!libspectrum_snap_pages(snap.get(), 5)
        || (all48K
            && (!libspectrum_snap_pages(snap.get(), 2)
                || !libspectrum_snap_pages(snap.get(), 0)))) {
        fail(fault, SnapshotFault::Unreadable, error,
             QCoreApplication::translate(
                 "Libspectrum", "The file %1 is damaged: it holds only part of the memory.")
                 .arg(file));
        return std::nullopt;
    }

    // PC goes to SP - 2 and SP - 1; SP = 0 wraps to 0xfffe, which is RAM.
    const int sp = libspectrum_snap_sp(snap.get());
    if (sp != 0 && sp < kRamStart + 2) {
        fail(fault, SnapshotFault::Stack, error,
             QCoreApplication::translate(
                 "Libspectrum", "The file %1 cannot be made a 48K snapshot: its stack pointer is "
                                "0x%2, which leaves no room in RAM below it for the program "
                                "counter, and the 48K snapshot form keeps that on the stack.")
                 .arg(file, QString::number(sp, 16).rightJustified(4, QLatin1Char('0'))));
        return std::nullopt;
    }

    return SnapshotRead{toSna(snap.get()), hardwareWarnings(snap.get(), file)};
}

std::optional<SnapshotScreen> decodeScreen(QByteArrayView data, const QString& fileName,
                                           QString* error)
{
    LibraryCall call;
    libspectrum_id_t type = LIBSPECTRUM_ID_UNKNOWN;
    bool raw = false;
    std::optional<SnapshotRead> own;
    const Snap snap = readSnap(data, fileName, call, &type, &raw, &own, nullptr, error);
    if (own)
        return screenOfSna(own->sna);
    if (raw)
        return screenOfSna(data);
    if (!snap)
        return std::nullopt;
    const libspectrum_byte* page = libspectrum_snap_pages(snap.get(), screenPage(snap.get()));
    if (!page) {
        fail(nullptr, SnapshotFault::Unreadable, error,
             QCoreApplication::translate("Libspectrum",
                                         "The file %1 is damaged: it holds only part of the "
                                         "memory.")
                 .arg(quotedPath(fileName)));
        return std::nullopt;
    }
    const libspectrum_machine machine = libspectrum_snap_machine(snap.get());
    SnapshotScreen screen;
    screen.memory = QByteArray(reinterpret_cast<const char*>(page), kScreenMemorySize);
    screen.border = libspectrum_snap_out_ula(snap.get()) & 0x07;
    screen.otherMachine = !runsOn48K(machine);
    if (screen.otherMachine)
        screen.machine = machineName(machine, type);
    return screen;
}

} // namespace tessel

// Tapes.

namespace tessel {

namespace {

struct TapeDeleter
{
    void operator()(libspectrum_tape* tape) const { libspectrum_tape_free(tape); }
};
using Tape = std::unique_ptr<libspectrum_tape, TapeDeleter>;

TapeBlock::Kind kindOfBlock(libspectrum_tape_type type)
{
    switch (type) {
    case LIBSPECTRUM_TAPE_BLOCK_ROM:
    case LIBSPECTRUM_TAPE_BLOCK_TURBO:
    case LIBSPECTRUM_TAPE_BLOCK_PURE_DATA:
    case LIBSPECTRUM_TAPE_BLOCK_RAW_DATA:
    case LIBSPECTRUM_TAPE_BLOCK_GENERALISED_DATA:
    case LIBSPECTRUM_TAPE_BLOCK_DATA_BLOCK:
    case LIBSPECTRUM_TAPE_BLOCK_RLE_PULSE:
        return TapeBlock::Kind::Data;
    case LIBSPECTRUM_TAPE_BLOCK_PURE_TONE:
    case LIBSPECTRUM_TAPE_BLOCK_PULSES:
    case LIBSPECTRUM_TAPE_BLOCK_PULSE_SEQUENCE:
        return TapeBlock::Kind::Signal;
    default:
        return TapeBlock::Kind::Other;
    }
}

// Blocks whose bytes libspectrum keeps as they were saved.
bool holdsBytes(libspectrum_tape_type type)
{
    return type == LIBSPECTRUM_TAPE_BLOCK_ROM || type == LIBSPECTRUM_TAPE_BLOCK_TURBO
           || type == LIBSPECTRUM_TAPE_BLOCK_PURE_DATA || type == LIBSPECTRUM_TAPE_BLOCK_DATA_BLOCK;
}

quint8 edgeFlags(int flags)
{
    quint8 ours = kEdgeNone;
    if (flags & LIBSPECTRUM_TAPE_FLAGS_NO_EDGE)
        ours |= kEdgeNoFlip;
    if (flags & LIBSPECTRUM_TAPE_FLAGS_LEVEL_LOW)
        ours |= kEdgeLevelLow;
    if (flags & LIBSPECTRUM_TAPE_FLAGS_LEVEL_HIGH)
        ours |= kEdgeLevelHigh;
    if (flags & LIBSPECTRUM_TAPE_FLAGS_BLOCK)
        ours |= kEdgeBlockEnd;
    if (flags & (LIBSPECTRUM_TAPE_FLAGS_STOP | LIBSPECTRUM_TAPE_FLAGS_STOP48))
        ours |= kEdgeStop;
    if (flags & LIBSPECTRUM_TAPE_FLAGS_TAPE)
        ours |= kEdgeTapeEnd;
    return ours;
}

} // namespace

QStringList tapeNamePatterns()
{
    // .spc, .sta and .ltp are three emulators' own .tap variants.
    return {QStringLiteral("*.tap"), QStringLiteral("*.tzx"), QStringLiteral("*.pzx"),
            QStringLiteral("*.csw"), QStringLiteral("*.wav"), QStringLiteral("*.spc"),
            QStringLiteral("*.sta"), QStringLiteral("*.ltp")};
}

bool hasTapeName(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const QStringList patterns = tapeNamePatterns();
    return std::any_of(patterns.cbegin(), patterns.cend(), [&](const QString& pattern) {
        return name.endsWith(QStringView(pattern).sliced(1), Qt::CaseInsensitive);
    });
}

struct TapeState
{
    Tape tape;
    QList<TapeBlock> blocks;
    QByteArray screen;
};

TapeImage::TapeImage(std::unique_ptr<TapeState> state)
    : m_state(std::move(state))
{ }

TapeImage::~TapeImage()
{
    LibraryCall call; // the tape is freed under the lock like every call
    m_state.reset();
}

const QList<TapeBlock>& TapeImage::blocks() const
{
    return m_state->blocks;
}

QByteArray TapeImage::firstScreenBlock() const
{
    return m_state->screen;
}

std::unique_ptr<TapeImage> TapeImage::open(QByteArrayView data, const QString& fileName,
                                           QString* error)
{
    const QString file = quotedPath(fileName);
    if (data.size() > kMaxTapeFileSize) {
        fail(error,
             QCoreApplication::translate("Libspectrum",
                                         "The file %1 is %2 bytes long, too large for a "
                                         "tape (at most %3 bytes).")
                 .arg(file, QString::number(data.size()), QString::number(kMaxTapeFileSize)));
        return nullptr;
    }
    QByteArray padded(data.size() + kReadPadding, '\0');
    if (!data.isEmpty())
        std::memcpy(padded.data(), data.data(), static_cast<size_t>(data.size()));
    const auto* bytes = reinterpret_cast<const libspectrum_byte*>(padded.constData());
    const auto length = static_cast<size_t>(data.size());
    QByteArray name = QFile::encodeName(QFileInfo(fileName).fileName());

    // The lock first: a tape given up on is freed while it is still held.
    LibraryCall call;
    auto state = std::make_unique<TapeState>();
    // The raw type, as for snapshots: a compressed tape is not unpacked.
    libspectrum_id_t type = LIBSPECTRUM_ID_UNKNOWN;
    libspectrum_class_t kind = LIBSPECTRUM_CLASS_UNKNOWN;
    if (libspectrum_identify_file_raw(&type, name.constData(), bytes, length)
            != LIBSPECTRUM_ERROR_NONE
        || libspectrum_identify_class(&kind, type) != LIBSPECTRUM_ERROR_NONE) {
        const QString reason = call.messages();
        fail(error, reason.isEmpty()
                        ? QCoreApplication::translate("Libspectrum",
                                                      "The file %1 cannot be read as a tape.")
                              .arg(file)
                        : QCoreApplication::translate("Libspectrum",
                                                      "The file %1 cannot be read as a tape (%2).")
                              .arg(file, reason));
        return nullptr;
    }
    if (kind == LIBSPECTRUM_CLASS_COMPRESSED) {
        fail(error, QCoreApplication::translate(
                        "Tape", "The file %1 is compressed; unpack it and pick the tape "
                                "inside.")
                        .arg(file));
        return nullptr;
    }
    if (kind != LIBSPECTRUM_CLASS_TAPE) {
        fail(error, QCoreApplication::translate("Libspectrum",
                                                "The file %1 is not a tape in any format the "
                                                "program reads.")
                        .arg(file));
        return nullptr;
    }
    // libspectrum reads a .wav again by its name, so it gets these bytes in
    // a file of their own, never whatever the path holds by now.
    QTemporaryFile wav(QDir::tempPath() + QStringLiteral("/tessel-XXXXXX.wav"));
    if (type == LIBSPECTRUM_ID_TAPE_WAV) {
        if (!wav.open() || wav.write(data.data(), data.size()) != data.size() || !wav.flush()) {
            fail(error, QCoreApplication::translate("Libspectrum",
                                                    "The file %1 cannot be read: no room for a "
                                                    "temporary copy (%2).")
                            .arg(file, wav.errorString()));
            return nullptr;
        }
        name = QFile::encodeName(wav.fileName());
    }
    state->tape.reset(libspectrum_tape_alloc());
    if (libspectrum_tape_read(state->tape.get(), bytes, length, type, name.constData())
            != LIBSPECTRUM_ERROR_NONE
        || !libspectrum_tape_present(state->tape.get())) {
        const QString reason = call.messages();
        fail(error, reason.isEmpty()
                        ? QCoreApplication::translate("Libspectrum",
                                                      "The file %1 is damaged or not a tape.")
                              .arg(file)
                        : QCoreApplication::translate("Libspectrum",
                                                      "The file %1 is damaged or not a tape (%2).")
                              .arg(file, reason));
        return nullptr;
    }

    libspectrum_tape_iterator it = nullptr;
    bool playable = false;
    for (libspectrum_tape_block* block = libspectrum_tape_iterator_init(&it, state->tape.get());
         block; block = libspectrum_tape_iterator_next(&it)) {
        const libspectrum_tape_type type = libspectrum_tape_block_type(block);
        TapeBlock info;
        info.kind = kindOfBlock(type);
        info.tstates = libspectrum_tape_block_length(block);
        if (holdsBytes(type)) {
            info.dataSize = static_cast<qsizetype>(libspectrum_tape_block_data_length(block));
            const auto* blockData =
                reinterpret_cast<const char*>(libspectrum_tape_block_data(block));
            // As saved by the ROM: a flag byte, the screen, a checksum.
            const qsizetype skip = info.dataSize == 6914 ? 1 : 0;
            if (state->screen.isEmpty() && blockData
                && (info.dataSize == 6912 || info.dataSize == 6914))
                state->screen = QByteArray(blockData + skip, 6912);
        }
        playable = playable || info.kind != TapeBlock::Kind::Other;
        state->blocks.append(info);
    }
    if (!playable) {
        fail(error, QCoreApplication::translate("Libspectrum", "The tape %1 holds nothing to load.")
                        .arg(file));
        return nullptr;
    }
    libspectrum_tape_nth_block(state->tape.get(), 0);
    return std::unique_ptr<TapeImage>(new TapeImage(std::move(state)));
}

qsizetype TapeImage::nextEdges(TapeEdge* out, qsizetype max)
{
    LibraryCall call;
    qsizetype n = 0;
    while (n < max) {
        int position = 0;
        libspectrum_tape_position(&position, m_state->tape.get());
        libspectrum_dword tstates = 0;
        int flags = 0;
        if (libspectrum_tape_get_next_edge(&tstates, &flags, m_state->tape.get())
            != LIBSPECTRUM_ERROR_NONE)
            flags = LIBSPECTRUM_TAPE_FLAGS_TAPE; // a block it cannot play ends the tape
        out[n++] = {tstates, edgeFlags(flags), position};
        if (flags & LIBSPECTRUM_TAPE_FLAGS_TAPE)
            break;
    }
    return n;
}

} // namespace tessel
