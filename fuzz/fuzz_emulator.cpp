// The emulator's entry points that take documents from a point of sale: the sale, the end-to-end
// test, the cancellation and both network configurations, on a throw-away module (a state file
// in the scratch folder, activated, associated and with one sale made, restored before every
// input). Byte 0 chooses the operation (and, with its high bit, a wrong activation code), bytes
// 1-3 the session number, the rest is the document; for the cancellation the key comes first,
// up to a NUL byte, and "@CHAVE@" stands for the key of the module's last sale. Whatever is sent,
// the answer starts with the session in six digits and a code of its own operation, is UTF-8 on
// one line, and the module's state file still loads afterwards.

#include "emulator/module/answers.h"
#include "emulator/module/service.h"
#include "fuzz/fuzz_support.h"

#include <chrono>
#include <cstdio>

namespace {

using emulator::Op;

const std::string activationCode = "codigo-123";
const std::string taxpayerCnpj = "12345678000195";
const std::string softwareHouseCnpj = "16716114000172";

// A well-formed AC signature: 344 Base64 characters.
std::string acSignature() {
    std::string text;
    for (std::size_t i = 0; text.size() < 340; ++i)
        text += "QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVpbXF1eX2Bh"[i % 44];
    return text + "AA==";
}

emulator::TimePoint now() {
    return std::chrono::system_clock::from_time_t(1'704'164'645);
}

struct Module {
    std::filesystem::path pristine = fuzz::scratchFolder() / "pristine";
    std::filesystem::path work = fuzz::scratchFolder() / "work";
    std::string lastSaleKey;

    Module() {
        emulator::Service service(pristine / "estado.json", now);
        service.ativarSAT(1, 1, activationCode, taxpayerCnpj, 35);
        service.associarAssinatura(2, activationCode, softwareHouseCnpj + taxpayerCnpj,
                                   acSignature());
        const std::string sale = service.enviarDadosVenda(
            3, activationCode,
            "<CFe><infCFe versaoDadosEnt=\"0.07\"><ide><CNPJ>" + softwareHouseCnpj +
                "</CNPJ><signAC>" + acSignature() +
                "</signAC><numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>" + taxpayerCnpj +
                "</CNPJ><IE>111111111111</IE><indRatISSQN>N</indRatISSQN></emit><dest/>"
                "<det nItem=\"1\"><prod><cProd>1</cProd><xProd>Cafe</xProd><NCM>09012100</NCM>"
                "<CFOP>5102</CFOP><uCom>UN</uCom><qCom>1.0000</qCom><vUnCom>10.00</vUnCom>"
                "<indRegra>A</indRegra></prod><imposto><ICMS><ICMS00><Orig>0</Orig><CST>00</CST>"
                "<pICMS>18.00</pICMS></ICMS00></ICMS><PIS><PISAliq><CST>01</CST><vBC>10.00</vBC>"
                "<pPIS>0.0165</pPIS></PISAliq></PIS><COFINS><COFINSAliq><CST>01</CST>"
                "<vBC>10.00</vBC><pCOFINS>0.0760</pCOFINS></COFINSAliq></COFINS></imposto></det>"
                "<total/><pgto><MP><cMP>01</cMP><vMP>10.00</vMP></MP></pgto></infCFe></CFe>");
        const auto fields = fuzz::parts(sale, '|', 10);
        fuzz::require(fields[1] == "06000", "the module is ready for cancellations", sale);
        lastSaleKey = fields[8];
    }

    // A fresh copy of the prepared module.
    emulator::Service restored() const {
        std::filesystem::remove_all(work);
        std::filesystem::copy(pristine, work, std::filesystem::copy_options::recursive);
        return emulator::Service(work / "estado.json", now);
    }
};

std::string withKey(std::string text, const std::string& key) {
    for (std::size_t at = text.find("@CHAVE@"); at != std::string::npos; at = text.find("@CHAVE@"))
        text.replace(at, 7, key);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Module module;
    if (size < 4)
        return 0;
    const int session = int(((data[1] << 16) | (data[2] << 8) | data[3]) % 1'000'001);
    const std::string code = data[0] & 0x80 ? "codigo-errado" : activationCode;
    const std::string document(reinterpret_cast<const char*>(data) + 4, size - 4);

    emulator::Service service = module.restored();
    std::string answer;
    Op op;
    switch (data[0] % 5) {
    case 0:
        op = Op::EnviarDadosVenda;
        answer = service.enviarDadosVenda(session, code, document);
        break;
    case 1:
        op = Op::TesteFimAFim;
        answer = service.testeFimAFim(session, code, document);
        break;
    case 2: {
        op = Op::CancelarUltimaVenda;
        const auto keyAndDocument = fuzz::parts(document, '\0', 2);
        answer = service.cancelarUltimaVenda(session, code,
                                             withKey(keyAndDocument[0], module.lastSaleKey),
                                             withKey(keyAndDocument[1], module.lastSaleKey));
        break;
    }
    case 3:
        op = Op::ConfigurarInterfaceDeRede;
        answer = service.configurarInterfaceDeRede(session, code, document);
        break;
    default:
        op = Op::ConfigurarInterfaceDeRedeMFE;
        answer = service.configurarInterfaceDeRedeMFE(session, code, document);
        break;
    }

    char sessionText[16];
    std::snprintf(sessionText, sizeof sessionText, "%06d|", session);
    fuzz::require(answer.starts_with(sessionText), "the answer has its session", answer);
    const auto fields = fuzz::parts(answer, '|', 3);
    const std::string prefix = emulator::answerCode(op, "");
    fuzz::require(fields[1].size() == 5 && fields[1].starts_with(prefix) &&
                      fields[1].find_first_not_of("0123456789") == std::string::npos,
                  "the answer has a code of its operation", answer);
    fuzz::require(fuzz::isUtf8(answer), "the answer is UTF-8", answer);
    fuzz::require(answer.find_first_of("\r\n") == std::string::npos, "the answer is one line",
                  answer);
    fuzz::require(service.consultarSAT(1).starts_with("000001|08000|"),
                  "the state still loads after the call");
    return 0;
}
