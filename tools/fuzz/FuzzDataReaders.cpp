// Readers of files that come from outside: the update descriptor and the lines of the import files. Each result is
// compared with what a plain reading of the input, written apart here, gives.
#include "FuzzReaders.h"

#include "import/ImportLines.h"
#include "util/UpdateInfo.h"

#include <cerrno>
#include <cstdlib>

namespace
{
// ---- update descriptor

std::string Describe(const CUpdateInfo& info)
{
    std::string s = std::to_string(info.GetReleaseVersion()) + "|" + info.GetReleaseFile().ToMultiByte(CP_UTF8) + "|" +
                    std::to_string(info.GetReleaseSize()) + "|" + info.GetReleaseText().ToMultiByte(CP_UTF8) + "|";
    for (const std::vector<DWORD>* pVersions : {&info.GetInfoVersions(), &info.GetUpdateVersions()}) {
        for (DWORD dw : *pVersions)
            s += std::to_string(dw) + ",";
        s += "|";
    }
    return s + info.GetInfoMessage().ToMultiByte(CP_UTF8) + "|" + info.GetUpdateMessage().ToMultiByte(CP_UTF8);
}

// Answers the description of the parsed descriptor, or "refused" with the error's text.
std::string ParseDescriptor(CUpdateInfo& info, const std::string& text, std::string& fault)
{
    try {
        info.Parse(text);
    } catch (CUpdateInfo::Exception* e) {
        if (e->m_nIDError == 0)
            fault = "a refusal without an error";
        e->Delete();
        return "refused";
    }
    return Describe(info);
}
} // namespace

std::string GenerateUpdateInfo(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_lines = {
        "/* pubblicato */", "Msg01$La versione %s non pu\xf2 essere aggiornata", "msg 3$ Leggere le note ", "Msg99$x",
        "INFO$1.0$ 1.01 $Msg01$beta", "Info$32767.65535$-1.0$1.-1$Msg03", "Release$ 2.05 $ Setup.exe $ 5120 $ Nuova versione ",
        "Release$0.0$a$1$b", "Release$1.0$$1$b", "Release$1.0$a$2147483648$b", "Update$1.9$2.0$Msg03", "Update$$$$$",
        "Msg$", "Msg1", "Messaggio", ""};
    static const std::vector<std::string> s_words = {"$", "\r\n", "\n", "\r", ".", "Msg0", "Release$", "Info$", "Update$",
                                                     "99999999999", " ", "\t", "\x80", "%s"};
    std::string s;
    for (size_t n = rnd.Count(); n > 0; --n)
        s += rnd.Pick(s_lines) + (rnd.Chance(50) ? "\r\n" : "\n");
    return rnd.Chance(50) ? Mutate(s, rnd, s_words) : s;
}

// Parsed once by a fresh object and once by one that parsed a whole descriptor before: the same result, and the
// result holds what a descriptor must (a usable release, versions that fit, lists that answer for themselves).
std::string FuzzUpdateInfo(const std::string& input, CFuzzRandom&)
{
    std::string fault;
    CUpdateInfo fresh, reused;
    std::string result = ParseDescriptor(fresh, input, fault);
    ParseDescriptor(reused, "Msg01$m\nInfo$1.0$Msg01\nUpdate$0.9$Msg01\nRelease$9.9$x.exe$1$y\n", fault);
    if (ParseDescriptor(reused, input, fault) != result)
        return "a second parse gives another result: " + result;
    if (!fault.empty() || result == "refused")
        return fault;
    if (fresh.GetReleaseVersion() == 0 || fresh.GetReleaseFile().IsEmpty() || fresh.GetReleaseSize() <= 0)
        return "a release that cannot be used: " + result;
    for (DWORD dw : fresh.GetInfoVersions())
        if (!fresh.IsInfoVersion(dw) || (dw >> 16) > 0x7FFF)
            return "an info version out of its list: " + result;
    for (DWORD dw : fresh.GetUpdateVersions())
        if (!fresh.IsUpdateVersion(dw) || (dw >> 16) > 0x7FFF)
            return "an update version out of its list: " + result;
    return "";
}

// ---- import lines

namespace
{
// The plain reading: blanks, a sign, then digits to the end of the field, within the import's limit.
bool ReferenceCertAmount(std::string_view field, long long& units)
{
    size_t nStart = field.find_first_not_of(' ');
    if (nStart == std::string_view::npos)
        return false;
    std::string rest(field.substr(nStart));
    size_t nDigits = rest[0] == '+' || rest[0] == '-' ? 1 : 0;
    if (nDigits == rest.size() || rest.find_first_not_of("0123456789", nDigits) != std::string::npos)
        return false;
    errno = 0;
    long long value = std::strtoll(rest.c_str(), nullptr, 10);
    if (errno == ERANGE || value > kMaxImportUnits || value < -kMaxImportUnits)
        return false;
    units = value;
    return true;
}

std::string CertField(CFuzzRandom& rnd, size_t nWidth)
{
    static const std::vector<std::string> s_values = {"0", "-1", "+17", "461168601842738", "461168601842739", "-461168601842738",
                                                      "9223372036854775807", "99999999999999999999", "", "12a", "- 5", " "};
    std::string value = rnd.Pick(s_values);
    return value.size() >= nWidth ? value.substr(0, nWidth) : std::string(nWidth - value.size(), ' ') + value;
}
} // namespace

std::string GenerateImportLine(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_words = {" ", "-", "+", "0", "9", "A", "B", "\t", "\r", std::string(1, '\0')};
    std::string s;
    switch (rnd.Below(4)) {
    case 0: s = "0" + CertField(rnd, 4); break;
    case 1:
        s = "A" + std::string(11, ' ');
        for (int k = 0; k < 16; k++)
            s += "E1010" + CertField(rnd, 20);
        break;
    case 2:
        s = "B" + std::string(11, ' ') + "E1010";
        for (int k = 0; k < 20; k++)
            s += CertField(rnd, 20);
        break;
    default:
        s = "101Descrizione        ";
        for (int k = 0; k < 3; k++)
            s += CertField(rnd, 15);
    }
    return rnd.Chance(40) ? Mutate(s, rnd, s_words) : s;
}

// Each parser against the plain reading of the same fields: amounts, a B record's amounts up to the first bad one,
// an A record's first good group, a management line's cents as whole numbers with an optional minus.
std::string FuzzImportLine(const std::string& input, CFuzzRandom&)
{
    std::string_view line(input);
    CCertLine cert = ParseCertLine(line);
    long long units = 0;
    switch (line.empty() ? ' ' : line[0]) {
    case '0':
        if ((cert.kind == certHeader) != (line.size() >= 5 && ReferenceCertAmount(line.substr(1, 4), units)) ||
            (cert.kind == certHeader && cert.nYear != units))
            return "a header read otherwise";
        break;
    case 'A': {
        std::vector<long long> expected;
        std::string code;
        for (size_t k = 0; line.size() == kCertLengthA && k < 16 && expected.empty(); k++) {
            if (ReferenceCertAmount(line.substr(12 + 25 * k + 5, 20), units)) {
                expected.push_back(units);
                code = std::string(line.substr(12 + 25 * k, 5));
            }
        }
        if ((cert.kind == certRecord) != !expected.empty() || (cert.kind == certRecord && (cert.amounts != expected || cert.code != code)))
            return "an A record read otherwise";
        break;
    }
    case 'B': {
        std::vector<long long> expected;
        for (size_t k = 0; line.size() == kCertLengthB && k < 20 && ReferenceCertAmount(line.substr(17 + 20 * k, 20), units); k++)
            expected.push_back(units);
        if ((cert.kind == certRecord) != (line.size() == kCertLengthB) ||
            (cert.kind == certRecord && (cert.amounts != expected || cert.bTruncated != (expected.size() < 20) ||
                                         cert.code != line.substr(12, 5))))
            return "a B record read otherwise";
        break;
    }
    default:
        if (cert.kind != (line.empty() ? certEmpty : line[0] == 'C' ? certIgnored : certBad))
            return "a line of another kind read as a record";
    }

    // A management amount: blanks around an optional minus put directly before the digits; a blank field is 0, and
    // so is one the line ends before; a field the line ends inside has lost digits and is refused.
    CGestLine gest;
    std::string badField;
    const bool bParsed = ParseGestLine(line, gest, badField);
    bool bExpected = true;
    for (size_t k = 0; k < 3 && bExpected; k++) {
        size_t nPos = 23 + kGestAmountWidth * k;
        std::string field(nPos < line.size() ? line.substr(nPos, kGestAmountWidth) : std::string_view());
        size_t nFirst = field.find_first_not_of(' ');
        std::string trimmed = nFirst == std::string::npos ? std::string()
                                                          : field.substr(nFirst, field.find_last_not_of(' ') + 1 - nFirst);
        size_t nDigits = !trimmed.empty() && trimmed[0] == '-' ? 1 : 0;
        const bool bCut = !field.empty() && field.size() < kGestAmountWidth;
        bExpected = !bCut && (trimmed.empty() || (nDigits < trimmed.size() &&
                                                  trimmed.find_first_not_of("0123456789", nDigits) == std::string::npos));
        if (bCut && bParsed)
            return "a management line accepted that ends inside its amount field " + std::to_string(k);
        if (!bExpected && bParsed)
            return "a management amount accepted that is no whole number of cents, in field " + std::to_string(k);
        if (!bExpected && badField != field)
            return "a refused management amount named otherwise";
        if (bExpected && bParsed && gest.cents[k] != (trimmed.empty() ? 0 : std::strtoll(trimmed.c_str(), nullptr, 10)))
            return "management cents read otherwise in field " + std::to_string(k);
    }
    if (bParsed != bExpected)
        return "a management line refused whose amounts are whole numbers of cents and end with their fields";
    if (bParsed && gest.code != line.substr(0, 3))
        return "a management code read otherwise";
    return "";
}
