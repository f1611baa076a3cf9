#!/usr/bin/env bash
# Takes the README's pictures of the window (welcome page, ConsultarSAT's answer, a status
# report, the MF-e network page, the journal of those calls, a journalled sale with "Extrato" and
# its receipt's preview) on the module emulator, under Xvfb, and of a receipt drawn by
# `tarvik extrato`, into docs/screenshots (or the folder given).
# Run by hand when the window changes; CI does not run it.
#
#   bash scripts/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/screenshots}
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target take_screenshots
mkdir -p "$output"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" ./build/take_screenshots "$output"

# The receipt of a sale issued by the emulator, drawn by `tarvik extrato` and rendered by
# pdftoppm (the README's picture of a receipt).
receipt_dir=$(mktemp -d)
trap 'rm -rf "$receipt_dir"' EXIT
cmake --build build --target tarvik mfe_emulator
export MFE_EMULADOR_ESTADO=$receipt_dir/estado.json
tarvik=(./build/tarvik --dll build/libmfe.so)
signature=$(printf 'QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVpbXF1eX2Bh%.0s' {1..8} | cut -c1-340)AA==
"${tarvik[@]}" AtivarSAT --codigo codigo-123 --cnpj 12345678000195 --uf SP >/dev/null
"${tarvik[@]}" AssociarAssinatura --codigo codigo-123 --cnpj-sh 16716114000172 \
    --cnpj-contribuinte 12345678000195 --assinatura "$signature" >/dev/null
item() { # number, code, description, quantity, unit, price, extra, approximate taxes
    echo "<det nItem=\"$1\"><prod><cProd>$2</cProd><xProd>$3</xProd><NCM>22021000</NCM>" \
         "<CFOP>5102</CFOP><uCom>$5</uCom><qCom>$4</qCom><vUnCom>$6</vUnCom>" \
         "<indRegra>A</indRegra>$7</prod><imposto><vItem12741>$8</vItem12741><ICMS><ICMS00>" \
         "<Orig>0</Orig><CST>00</CST><pICMS>18.00</pICMS></ICMS00></ICMS><PIS><PISAliq>" \
         "<CST>01</CST><vBC>10.00</vBC><pPIS>0.0165</pPIS></PISAliq></PIS><COFINS>" \
         "<COFINSAliq><CST>01</CST><vBC>10.00</vBC><pCOFINS>0.0760</pCOFINS></COFINSAliq>" \
         "</COFINS></imposto></det>" | tr -d '\n' | sed 's/> </></g'
}
cat >"$receipt_dir/venda.xml" <<SALE
<?xml version="1.0" encoding="UTF-8"?>
<CFe><infCFe versaoDadosEnt="0.07"><ide><CNPJ>16716114000172</CNPJ><signAC>$signature</signAC><numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>12345678000195</CNPJ><IE>111111111111</IE><indRatISSQN>N</indRatISSQN></emit><dest><CPF>52998224725</CPF><xNome>Maria da Conceição</xNome></dest>
$(item 1 7891000315507 "Café torrado e moído tradicional 500 g" 2.0000 UN 18.90 "<vDesc>1.80</vDesc>" 3.10)
$(item 2 2001 "Pão de queijo congelado" 0.7500 KG 32.50 "" 2.05)
$(item 3 3002 "Açúcar cristal 1 kg" 3.0000 UN 4.99 "" 1.20)
$(item 4 4410 "Água mineral sem gás 1,5 L" 6.0000 UN 2.79 "<vOutro>0.30</vOutro>" 1.75)
<total><DescAcrEntr><vDescSubtot>2.00</vDescSubtot></DescAcrEntr><vCFeLei12741>8.10</vCFeLei12741></total><pgto><MP><cMP>03</cMP><vMP>50.00</vMP><cAdmC>001</cAdmC></MP><MP><cMP>01</cMP><vMP>50.00</vMP></MP></pgto><infAdic><infCpl>Obrigado pela preferência! Troca em até 7 dias com este extrato.</infCpl></infAdic></infCFe></CFe>
SALE
cp build/tarvik build/libmfe.so "$receipt_dir/"
(cd "$receipt_dir" && ./tarvik --dll ./libmfe.so EnviarDadosVenda --codigo codigo-123 \
    --arquivo venda.xml >/dev/null 2>&1)
./build/tarvik extrato --cfe "$receipt_dir/Retornos/Resp_venda.xml" --pdf "$receipt_dir/extrato.pdf"
pdftoppm -r 150 -png -singlefile "$receipt_dir/extrato.pdf" "$output/extrato-80mm"
