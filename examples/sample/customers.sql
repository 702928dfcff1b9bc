-- The sample customer book as a database: make customers.db with
--   sqlite3 customers.db < customers.sql
--
-- Book is a tree kept in one table: every row names itself (ID) and its owner
-- (OwnerID, 0 for the regions at the top). ImageIndex: 0 region, 1 city, 2 customer.
-- Customer holds the customers' details, for the data-aware controls.

PRAGMA foreign_keys = OFF;
BEGIN;

DROP TABLE IF EXISTS Book;
CREATE TABLE Book (
  ID INTEGER PRIMARY KEY,
  OwnerID INTEGER NOT NULL,
  Name VARCHAR(40) NOT NULL,
  ImageIndex SMALLINT NOT NULL DEFAULT 0
);

INSERT INTO Book (ID, OwnerID, Name, ImageIndex) VALUES
  (1, 0, 'North-West', 0),
  (2, 0, 'Volga', 0),
  (3, 0, 'Siberia', 0),
  (10, 1, 'Saint Petersburg', 1),
  (11, 1, 'Novgorod', 1),
  (12, 2, 'Kazan', 1),
  (13, 2, 'Samara', 1),
  (14, 3, 'Novosibirsk', 1),
  (15, 3, 'Tomsk', 1),
  (100, 10, 'Neva Shipping', 2),
  (101, 10, 'Baltic Timber', 2),
  (102, 11, 'Ilmen Dairy', 2),
  (103, 12, 'Kazan Optics', 2),
  (104, 13, 'Samara Bearings', 2),
  (105, 13, 'Zhiguli Brewers', 2),
  (106, 14, 'Ob River Freight', 2),
  (107, 15, 'Tomsk Instruments', 2),
  (108, 10, 'Admiralty Print', 2);

DROP TABLE IF EXISTS Customer;
CREATE TABLE Customer (
  CustNo INTEGER PRIMARY KEY,
  Company VARCHAR(30) NOT NULL,
  City VARCHAR(20),
  Balance NUMERIC(12, 2),
  SaleDate DATE,
  Active BOOLEAN NOT NULL DEFAULT 1,
  Notes TEXT
);

INSERT INTO Customer (CustNo, Company, City, Balance, SaleDate, Active, Notes) VALUES
  (100, 'Neva Shipping', 'Saint Petersburg', 12500.00, '2024-03-14', 1, NULL),
  (101, 'Baltic Timber', 'Saint Petersburg', 830.50, '2024-02-01', 1, 'Pays late'),
  (102, 'Ilmen Dairy', 'Novgorod', 0, NULL, 0, NULL),
  (103, 'Kazan Optics', 'Kazan', 4410.75, '2024-01-20', 1, NULL),
  (104, 'Samara Bearings', 'Samara', 990.00, '2023-12-05', 1, NULL),
  (105, 'Zhiguli Brewers', 'Samara', 15020.10, '2024-03-30', 1, 'Wholesale'),
  (106, 'Ob River Freight', 'Novosibirsk', 210.00, '2023-11-11', 1, NULL),
  (107, 'Tomsk Instruments', 'Tomsk', 3300.00, '2024-02-27', 1, NULL),
  (108, 'Admiralty Print', 'Saint Petersburg', 75.25, '2024-03-02', 1, NULL);

COMMIT;
