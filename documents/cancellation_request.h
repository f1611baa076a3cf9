#pragma once
// The cancellation request (CFeCanc) built from an issued CF-e: the values it takes from the CF-e,
// the document itself, and the two generators that save it — "Gerar XML para Cancelamento" after
// a sale and "Gerar CFeCanc." on the cancellation page.

#include "documents/validate_buttons.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace documents {

// What a cancellation request takes from an issued CF-e; each value is empty when the document
// does not have it, or is no XML the safe reader accepts.
struct IssuedCFeValues {
    std::string key;          // attribute Id of //CFe/infCFe, whole as it stands
    std::string cnpj;         // //CFe/infCFe/ide/CNPJ (the software house)
    std::string signAC;       // //CFe/infCFe/ide/signAC
    std::string numeroCaixa;  // //CFe/infCFe/ide/numeroCaixa
    std::string customerCnpj; // //CFe/infCFe/dest/CNPJ
    std::string customerCpf;  // //CFe/infCFe/dest/CPF
};

// Reads the values with the safe XML reader (no DTD, no entities, no network, size limit).
IssuedCFeValues readIssuedCFe(const std::filesystem::path& file);

// The CFeCanc document as one UTF-8 line without a line end: the declaration, then CFeCanc with
// infCFe chCanc = the key, ide (CNPJ, signAC, numeroCaixa, written also when empty), emit, dest
// (its CNPJ then its CPF, each only when not empty and withCustomer), total and infAdic; values
// escaped, empty elements written with both tags.
std::string cancellationDocument(const IssuedCFeValues& values, bool withCustomer);

// The chCanc attribute of //CFeCanc/infCFe in a CFeCanc file, whole; empty when the file has
// none or is no XML the safe reader accepts.
std::string cancellationKeyOf(const std::filesystem::path& file);

// Whether a generated cancellation request carries the customer: only layout 0.06 has one; the
// cancellation schemas of later layouts declare dest empty.
bool cancellationWritesCustomer(Layout layout);

struct GeneratedCancellation {
    std::filesystem::path file; // where the document was saved
    std::string document;       // the document, without the line end the file adds
    std::string key;            // the issued CF-e's Id: the cancellation key
    std::string message;        // what the page shows once it is saved
};

// The name of the sale file whose issued CF-e was saved as `issuedFileName`: Resp_venda.xml is the
// CF-e of venda.xml. A name without the Resp_ prefix is taken as it is.
std::string saleFileNameOf(std::string_view issuedFileName);

// "Gerar XML para Cancelamento": from the returned CF-e saved as respFile, the request saved as
// programFolder/Para_Cancelar/C_<saleFileName>, the customer only when cancellationWritesCustomer.
// Throws std::runtime_error when the folder or the file cannot be written; an earlier file of
// that name is then left as it was.
GeneratedCancellation generateAfterSale(const std::filesystem::path& respFile,
                                        std::string_view saleFileName, Layout layout,
                                        const std::filesystem::path& programFolder);

// Where "Gerar CFeCanc." saves the request generated from the issued CF-e the field names:
// programFolder/Temp/Canc_<file-name part of the field's text>.
std::filesystem::path generatedCancellationFile(std::string_view fieldText,
                                                const std::filesystem::path& programFolder);

// Deletes the request generated earlier from the issued CF-e the field names, so that a new
// choice of file must be generated again before it is sent. Throws std::runtime_error when it
// is there and cannot be deleted.
void removeGeneratedCancellation(std::string_view fieldText,
                                 const std::filesystem::path& programFolder);

// "Gerar CFeCanc.": from the issued CF-e named by the field's trimmed text, the request saved as
// generatedCancellationFile, the customer only when cancellationWritesCustomer. Throws as
// generateAfterSale.
GeneratedCancellation generateFromIssuedCFe(std::string_view fieldText, Layout layout,
                                            const std::filesystem::path& programFolder);

} // namespace documents
