#!/usr/bin/env bash
# package/check-msi on small packages built with wixl: a valid per-user package passes, and
# each rule's fault, put into it alone, fails the check with that rule's name.
# Arguments: the checker.
set -euo pipefail
check="${1:?usage: check_msi_test.sh CHECK-MSI}"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
echo hi > "$dir/a.txt"

# The valid package; each case replaces one marked piece of it.
write() {
  local key_path="${KEYPATH-KeyPath=\"yes\"}" file_key="${FILEKEY-}" remove="${REMOVE-<RemoveFolder Id=\"RD\" On=\"uninstall\"/>}"
  cat > "$dir/t.wxs" <<WXS
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="T" Language="1041" Codepage="932" Version="1.0.0" Manufacturer="T"
           UpgradeCode="5002A260-810D-47D9-9ACB-1EC156420A69">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perUser" Languages="1041" SummaryCodepage="932"/>
    <Media Id="1" Cabinet="t.cab" EmbedCab="yes"/>
    ${PROPERTY-}
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="LocalAppDataFolder">
        <Directory Id="D" Name="T">
          <Component Id="C" Guid="*" Win64="yes">
            <RegistryValue Root="HKCU" Key="Software\\T" Name="C" Type="integer" Value="1" $key_path/>
            ${EXTRA-}
            <File Id="a" Name="a.txt" Source="a.txt" $file_key/>
            $remove
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="F" Level="1"><ComponentRef Id="C"/></Feature>
  </Product>
</Wix>
WXS
  rm -f "$dir/t.msi"
  (cd "$dir" && wixl -a x64 -o t.msi t.wxs)
  if [ -z "${ENGLISH-}" ]; then
    msibuild "$dir/t.msi" -s T T "x64;1041" "$(msiinfo suminfo "$dir/t.msi" | tr -d '\r' | sed -n 's/^Revision number (UUID): //p')"
  fi
}
expect() {  # expect RULE: the check fails and names RULE; expect "": it passes
  local rc=0
  "$check" "$dir/t.msi" > "$dir/out.txt" || rc=$?
  if [ -z "$1" ]; then
    [ "$rc" -eq 0 ] || fail "a valid package failed: $(cat "$dir/out.txt")"
  else
    [ "$rc" -eq 1 ] || fail "$1: not found"
    grep -q "^check-msi: $1: " "$dir/out.txt" || fail "$1: other message: $(cat "$dir/out.txt")"
  fi
}

write; expect ""
KEYPATH="" FILEKEY='KeyPath="yes"' write; expect ICE38
REMOVE="" write; expect ICE64
EXTRA='<RegistryValue Root="HKLM" Key="Software\T" Name="M" Type="integer" Value="1"/>' write; expect ICE57
PROPERTY='<Property Id="ALLUSERS" Value="1"/>' write; expect ICE91
ENGLISH=1 write; expect summary
echo "check-msi: all checks passed"
