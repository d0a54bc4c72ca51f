' Drives the list control as a script host would: by ProgID, every member, For Each, and the
' collection's errors as script errors. Exits with the number of failed checks.
Option Explicit
Dim failures : failures = 0
Sub Check(condition, what)
  If Not condition Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

Dim control : Set control = CreateObject("KestrovePickvane.Pickvane")
Dim items : Set items = control.SelectItems
items.Add "a", "Alpha", "first"
items.Add "b", "Beta"
Call items.Add("c")
Check items.Count = 3, "Count"
Check items(1).Caption = "Alpha", "Item by position"
Check items("B").Caption = "Beta", "Item by key ignores case"
Check items.Item("c").Comment = "", "omitted comment"

Dim keys, it : keys = ""
For Each it In items
  keys = keys & it.Key
Next
Check keys = "abc", "For Each order"

On Error Resume Next
items.Add "A"
Check Err.Number = 457, "duplicate key error " & Err.Number
Err.Clear
Dim missing : Set missing = items("zz")
Check Err.Number = 5, "missing key error " & Err.Number
Err.Clear
Set missing = items(9)
Check Err.Number = 9, "position out of range " & Err.Number
Err.Clear
On Error GoTo 0

items.Remove "b"
Check items.Count = 2 And items(2).Key = "c", "Remove shifts"
items(1).Caption = "Changed"
Check items("a").Caption = "Changed", "items are shared"

Check control.Selected = 0, "Selected starts at 0"
control.Refresh
Check control.Selected = 1, "Refresh selects row 1"
control.Selected = 2
Check control.Selected = 2, "Selected set"

Dim other : Set other = CreateObject("KestrovePickvane.Pickvane")
Set other.SelectItems = items
Check other.SelectItems.Count = 2, "SelectItems replaced by reference"

WScript.Quit failures
