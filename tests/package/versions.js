// Prints the ProductVersion of a Windows Installer package and the file
// version of a module, one line each, as Windows reads them; an empty line
// for an empty argument or one that cannot be read.
// Usage: cscript //nologo versions.js PACKAGE MODULE
var args = WScript.Arguments;
var packageVersion = "", moduleVersion = "";
try {
  if (args(0) != "") {
    var view = new ActiveXObject("WindowsInstaller.Installer").OpenDatabase(args(0), 0)
      .OpenView("SELECT `Value` FROM `Property` WHERE `Property` = 'ProductVersion'");
    view.Execute();
    var record = view.Fetch();
    if (record) packageVersion = record.StringData(1);
  }
} catch (e) {}
try {
  if (args(1) != "") moduleVersion = new ActiveXObject("Scripting.FileSystemObject").GetFileVersion(args(1));
} catch (e) {}
WScript.Echo(packageVersion);
WScript.Echo(moduleVersion);
